#include "gui/profiles/PadCheckPanel.h"

#include "core/profiles/OnlineCheck.h"
#include "gui/profiles/PadProblemsDialog.h"
#include "gui/window/Fonts.h"
#include "gui/window/MainWindow.h"
#include "gui/window/Twips.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QThreadPool>

#include <memory>

namespace tarvelo {

namespace {

// The free column left of the detail panels, below the PAD URL rows, in pixels.
constexpr int Left = 8, Width = 322, Top = 352, RowPitch = 48, ButtonLeft = 198;

QRect pixels(int left, int top, int width, int height)
{
    const int t = TwipsPerPixel;
    return twipsRect(left * t, top * t, width * t, height * t);
}

template <typename W> W *place(W *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    widget->setFont(Fonts::caption());
    return widget;
}

QString indexed(const char *name, int profile)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(profile);
}

QString statusText(const QString &file, const PadCheck::Result &result)
{
    if (result.passes())
        return QStringLiteral("OK");
    if (result.problems.size() == 1)
        return QStringLiteral("1 problem");
    if (result.isPad())
        return QStringLiteral("%1 problems").arg(result.problems.size());
    // A file that is there but does not parse is not a PAD file; a path that
    // names no file says just that.
    return QFileInfo(file).isFile() ? QStringLiteral("not a PAD file: ") + result.error
                                    : result.error;
}

QFuture<PadCheck::Result> checkInBackground(const QString &file)
{
    // Shared: the pool copies its task, and a promise cannot be copied.
    auto promise = std::make_shared<QPromise<PadCheck::Result>>();
    promise->start();
    QThreadPool::globalInstance()->start([promise, file] {
        promise->addResult(PadCheck::checkFile(file));
        promise->finish();
    });
    return promise->future();
}

} // namespace

PadCheckPanel::PadCheckPanel(MainWindow &window)
    : QObject(&window), m_window(window), m_network(new QNetworkAccessManager(this))
{
    m_problemsDialog = new PadProblemsDialog(&m_window);
    for (int i = 0; i < ProfileCount; ++i)
        buildRow(i);
    buildOnlineArea();
}

PadCheckPanel::~PadCheckPanel()
{
    // The check aborts its requests, and must go before the manager does.
    delete m_online;
}

void PadCheckPanel::buildRow(int profile)
{
    QFrame *frame = m_window.padFilesFrame();
    const int top = Top + profile * RowPitch;
    Row &row = m_rows[profile];
    row.status = place(new QLabel(frame), indexed("lblPadCheck", profile),
                       pixels(Left, top + 2, ButtonLeft - Left - 4, 44));
    row.status->setWordWrap(true);
    row.status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row.status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    buildButtons(profile, top);
    row.check = new QFutureWatcher<PadCheck::Result>(this);
    connect(row.check, &QFutureWatcherBase::finished, this, [this, profile] {
        const QFuture<PadCheck::Result> future = m_rows[profile].check->future();
        if (future.resultCount() > 0)
            showCheck(profile, future.result());
    });
}

void PadCheckPanel::buildButtons(int profile, int top)
{
    QFrame *frame = m_window.padFilesFrame();
    Row &row = m_rows[profile];
    const int width = Left + Width - ButtonLeft;
    row.problems = place(new QPushButton(QStringLiteral("Problems…"), frame),
                         indexed("cmdPadProblems", profile), pixels(ButtonLeft, top, width, 21));
    row.online = place(new QPushButton(QStringLiteral("Check online"), frame),
                       indexed("cmdCheckOnline", profile), pixels(ButtonLeft, top + 23, width, 21));
    row.online->setToolTip(QStringLiteral(
        "Does the PAD URL serve this program and version, and do its addresses answer?"));
    connect(row.problems, &QPushButton::clicked, this, [this, profile] { showProblems(profile); });
    connect(row.online, &QPushButton::clicked, this, [this, profile] { checkOnline(profile); });
    row.problems->hide(); // until a file is checked
    row.online->hide();
}

void PadCheckPanel::buildOnlineArea()
{
    QFrame *frame = m_window.padFilesFrame();
    const int top = Top + ProfileCount * RowPitch + 4;
    m_progress = place(new QProgressBar(frame), QStringLiteral("prgOnlineCheck"),
                       pixels(Left, top, Width - 68, 21));
    m_cancel = place(new QPushButton(QStringLiteral("Cancel"), frame),
                     QStringLiteral("cmdCancelOnline"), pixels(Left + Width - 64, top, 64, 21));
    connect(m_cancel, &QPushButton::clicked, this, &PadCheckPanel::cancelOnline);
    m_report = place(new QPlainTextEdit(frame), QStringLiteral("txtOnlineCheck"),
                     pixels(Left, top + 26, Width, 618 - top - 26));
    m_report->setFont(Fonts::dialog());
    m_report->setReadOnly(true);
    m_report->setPlaceholderText(QStringLiteral("The online checks' results"));
    setOnlineRunning(false);
}

void PadCheckPanel::checkProfile(int profile)
{
    const QString file = m_window.localPadBox(profile)->text();
    Row &row = m_rows[profile];
    row.problems->setVisible(!file.isEmpty());
    row.problems->setEnabled(false);
    row.online->setVisible(!file.isEmpty());
    m_results[profile] = {};
    row.file = file;
    // A new future replaces the one watched: an older check's result never shows.
    row.check->setFuture(file.isEmpty() ? QFuture<PadCheck::Result>() : checkInBackground(file));
    row.status->setText(
        file.isEmpty() ? QString() : QStringLiteral("PAD check %1: checking…").arg(profile + 1));
}

void PadCheckPanel::showCheck(int profile, const PadCheck::Result &result)
{
    Row &row = m_rows[profile];
    m_results[profile] = result;
    row.status->setText(
        QStringLiteral("PAD check %1: %2").arg(profile + 1).arg(statusText(row.file, result)));
    row.status->setToolTip(row.status->text());
    row.problems->setEnabled(!result.problems.isEmpty());
}

void PadCheckPanel::checkAll()
{
    // A profile whose file was loaded is being checked already.
    for (int i = 0; i < ProfileCount; ++i) {
        const QString file = m_window.localPadBox(i)->text();
        if (file.isEmpty() || file != m_rows[i].file)
            checkProfile(i);
    }
}

void PadCheckPanel::showProblems(int profile)
{
    m_problemsDialog->showProblems(profile, m_rows[profile].file, m_results[profile].problems);
}

void PadCheckPanel::checkOnline(int profile)
{
    if (m_online)
        return;
    OnlineCheck::Local local{m_window.fieldText(Field::ProgName, profile),
                             m_window.fieldText(Field::ProgVer, profile),
                             m_window.fieldText(Field::PADURL, profile),
                             {}};
    for (Field field : {Field::ProgURL, Field::SecURL, Field::SShotURL, Field::ProgIcon})
        local.addresses.append({field, m_window.fieldText(field, profile)});
    m_online = new OnlineCheck(std::move(local), m_network, this);
    connect(m_online, &OnlineCheck::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    });
    connect(m_online, &OnlineCheck::finished, this,
            [this, profile](const OnlineReport &report) { onOnlineFinished(profile, report); });
    m_report->setPlainText(QStringLiteral("Online check %1: running…").arg(profile + 1));
    setOnlineRunning(true);
    m_online->start();
}

void PadCheckPanel::cancelOnline()
{
    if (m_online)
        m_online->cancel();
}

void PadCheckPanel::onOnlineFinished(int profile, const OnlineReport &report)
{
    m_online->deleteLater();
    m_online = nullptr;
    m_report->setPlainText(QStringLiteral("Online check %1:\n").arg(profile + 1) +
                           report.lines().join(u'\n'));
    setOnlineRunning(false);
}

void PadCheckPanel::setOnlineRunning(bool running)
{
    m_progress->setRange(0, 0); // busy until the first progress comes
    m_progress->setVisible(running);
    m_cancel->setVisible(running);
    for (Row &row : m_rows)
        row.online->setEnabled(!running);
}

} // namespace tarvelo
