#include "gui/window/MainWindow.h"

#include "gui/browser/Browser.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/Fonts.h"
#include "gui/window/TabControl.h"
#include "gui/window/Twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace tarvelo {

namespace {

constexpr int ClientWidth = 14085;
constexpr int ClientHeight = 9960;

template <typename W> W *place(W *widget, const QString &name, const QRect &twips)
{
    widget->setObjectName(name);
    widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return widget;
}

QString indexed(const QString &name, int i)
{
    return name + u'_' + QString::number(i);
}

// Qt's front-to-back order follows creation; the layout lists controls front
// first, so raise them back to front.
void stackFrontToBack(std::initializer_list<QWidget *> frontFirst)
{
    for (auto it = std::rbegin(frontFirst); it != std::rend(frontFirst); ++it)
        (*it)->raise();
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

// A disabled panel that still looks enabled: its fields can be read, not used.
void keepEnabledLook(QWidget *w)
{
    QPalette p = w->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        p.setColor(QPalette::Disabled, r, p.color(QPalette::Active, r));
    }
    w->setPalette(p);
}

QFrame *captionlessFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

} // namespace

MainWindow::MainWindow(Browser *browser, QWidget *parent) : QWidget(parent), WebBr(browser)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarvelo"));
    setFixedSize(twipsSize(ClientWidth, ClientHeight));
    setMouseTracking(true);
    setFont(Fonts::dialog());
    QIcon icon(QStringLiteral(":/pictures/icon16.png"));
    icon.addFile(QStringLiteral(":/pictures/icon256.png"));
    setWindowIcon(icon);

    tmrGetKey = new QTimer(this);
    tmrGetKey->setObjectName(QStringLiteral("tmrGetKey"));
    tmrGetKey->setInterval(10);

    tabControl = place(new TabControl(this), QStringLiteral("tabControl"),
                       QRect(0, 120, 14055, 9855));
    tabControl->tabBar()->setFont(Fonts::tabCaption());
    QWidget *mainPage = tabControl->addPage(QStringLiteral("Main Window"),
                                            QStringLiteral("tabMainWindow"));
    tabPadFiles = tabControl->addPage(QStringLiteral("PAD Files"), QStringLiteral("tabPadFiles"));
    connect(tabControl, &TabControl::switched, this, &MainWindow::tabControl_Click);

    mnuNew = new QMenu(QStringLiteral("New"), this);
    mnuNew->setObjectName(QStringLiteral("mnuNew"));

    buildMainTab(mainPage);
    buildPadFilesTab(tabPadFiles);
    setCurrentProfileTag(QStringLiteral("0"));

    tmrGetKey->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMainTab(QWidget *page)
{
    auto navButton = [page](const QString &name, const QString &caption, int left) {
        auto *b = place(new QToolButton(page), name, QRect(left, 1080, 855, 615));
        b->setText(caption);
        b->setFont(Fonts::caption());
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        return b;
    };
    cmdRefresh = navButton(QStringLiteral("cmdRefresh"), QStringLiteral("&Refresh"), 10080);
    cmdForward = navButton(QStringLiteral("cmdForward"), QStringLiteral("&Forward"), 8040);

    lstSites = place(new QListWidget(page), QStringLiteral("lstSites"), QRect(120, 360, 7035, 1410));
    lstSites->setFont(Fonts::siteList());
    lstSites->setToolTip(QStringLiteral("Double click on a site to load."));
    lstSites->viewport()->setMouseTracking(true);
    lstSites->viewport()->installEventFilter(this);

    cmdPAD = place(new QPushButton(page), QStringLiteral("cmdPAD"), QRect(11160, 1355, 735, 340));
    cmdPAD->setToolTip(QStringLiteral("Loads the list of sites which accept PAD submission"));
    cmdPAD->setIcon(QIcon(QStringLiteral(":/pictures/pad.png")));
    cmdPAD->setIconSize(QSize(35, 15));
    cmdHome = place(new QPushButton(page), QStringLiteral("cmdHome"), QRect(12000, 1355, 735, 340));
    cmdHome->setToolTip(QStringLiteral("Home"));
    cmdHome->setIcon(QIcon(QStringLiteral(":/pictures/home.png")));
    cmdHome->setIconSize(QSize(16, 16));

    cmdBack = navButton(QStringLiteral("cmdBack"), QStringLiteral("&Back"), 7200);
    cmdStop = navButton(QStringLiteral("cmdStop"), QStringLiteral("&Stop"), 9240);

    Frame1 = place(captionlessFrame(page), QStringLiteral("Frame1"), QRect(1560, 9060, 10155, 750));
    buildFieldButtons();

    fraBrowser = place(captionlessFrame(page), QStringLiteral("fraBrowser"),
                       QRect(120, 1715, 13900, 7300));
    buildBrowserFrame();

    stackFrontToBack({cmdRefresh, cmdForward, lstSites, cmdPAD, cmdHome, cmdBack, cmdStop, Frame1,
                      fraBrowser});
}

void MainWindow::buildBrowserFrame()
{
    QWidget *view = WebBr->widget();
    view->setParent(fraBrowser);
    place(view, QStringLiteral("WebBr"), QRect(0, 120, 13815, 6825));

    lblRightInfo = place(new QLabel(fraBrowser), QStringLiteral("lblRightInfo"),
                         QRect(10440, 7035, 3345, 195));
    lblRightInfo->setText(QStringLiteral("Right Click on the browser to get more options"));
    lblProgress = place(new QLabel(fraBrowser), QStringLiteral("lblProgress"),
                        QRect(6840, 7005, 1215, 255));
    lblStatus = place(new QLabel(fraBrowser), QStringLiteral("lblStatus"),
                      QRect(0, 6990, 6645, 270));
    lblStatus->setMouseTracking(true);
    lblStatus->installEventFilter(this);
    for (QLabel *l : {lblProgress, lblStatus})
        setTextColour(l, palette().color(QPalette::WindowText));

    stackFrontToBack({view, lblRightInfo, lblProgress, lblStatus});
}

void MainWindow::buildFieldButtons()
{
    struct Slot
    {
        QPushButton **button;
        const char16_t *name;
        int left;
        int top;
    };
    const Slot places[] = {
        {&cmdProgName, u"cmdProgName", 0, 30},      {&cmdProgVer, u"cmdProgVer", 1695, 30},
        {&cmdAuthor, u"cmdAuthor", 3375, 30},       {&cmdEmail, u"cmdEmail", 5055, 30},
        {&cmdFileSize, u"cmdFileSize", 6735, 30},   {&cmdSysReq, u"cmdSysReq", 8415, 30},
        {&cmdHomePage, u"cmdHomePage", 15, 390},    {&cmdProgURL, u"cmdProgURL", 1695, 390},
        {&cmdSShotURL, u"cmdSShotURL", 3375, 390},  {&cmdShortDesc, u"cmdShortDesc", 5055, 390},
        {&cmdLongDesc, u"cmdLongDesc", 6735, 390},  {&cmdPADURL, u"cmdPADURL", 8415, 390},
    };
    for (const Slot &s : places) {
        *s.button = place(new QPushButton(Frame1), QString::fromUtf16(s.name),
                          QRect(s.left, s.top, 1695, 315));
        (*s.button)->setFont(Fonts::caption());
    }
}

void MainWindow::buildPadFilesTab(QWidget *page)
{
    fraDetalis = place(captionlessFrame(page), QStringLiteral("fraDetalis"),
                       QRect(120, 360, 13785, 9375));

    const int padUrlTops[] = {2010, 2400, 2820};
    const int localPadTops[] = {360, 765, 1170};
    const int padUrlLabelTops[] = {2040, 2445, 2850};
    const int localPadLabelTops[] = {390, 795, 1200};
    const QString padUrlTips[] = {QStringLiteral("Numpad 0"), QStringLiteral("Ctrl + Numpad 0"),
                                  QStringLiteral("Alt + Numpad 0")};

    for (int i = 0; i < ProfileCount; ++i) {
        auto *url = place(new QLineEdit(fraDetalis), indexed(QStringLiteral("txtPADURL"), i),
                          QRect(1140, padUrlTops[i], 3735, 285));
        url->setFont(Fonts::textBox());
        url->setText(fieldSpec(Field::PADURL).defaultText);
        url->setToolTip(padUrlTips[i]);
        txtPADURL[i] = url;

        auto *local = place(new QLineEdit(fraDetalis), indexed(QStringLiteral("txtLocalPAD"), i),
                            QRect(1200, localPadTops[i], 3675, 285));
        local->setFont(Fonts::textBox());
        local->setText(fieldSpec(Field::LocalPAD).defaultText);
        txtLocalPAD[i] = local;

        auto *frame = place(captionlessFrame(fraDetalis), indexed(QStringLiteral("fraDesc"), i),
                            QRect(5040, 0, 8745, 9375));
        frame->setProperty("Tag", QStringLiteral("0"));
        fraDesc[i] = frame;
        buildDetailPanel(i);

        auto *urlLabel = place(new ClickableLabel(fraDetalis),
                               indexed(QStringLiteral("lblPADURL"), i),
                               QRect(120, padUrlLabelTops[i], 1000, 225));
        urlLabel->setText(QStringLiteral("PAD URL %1:").arg(i + 1));
        urlLabel->setFont(Fonts::caption());
        urlLabel->setCursor(Qt::PointingHandCursor);
        urlLabel->setToolTip(padUrlTips[i]);
        lblPADURL[i] = urlLabel;

        auto *localLabel = place(new ClickableLabel(fraDetalis),
                                 indexed(QStringLiteral("lblLocalPad"), i),
                                 QRect(120, localPadLabelTops[i], 1000, 225));
        localLabel->setText(QStringLiteral("Local PAD %1:").arg(i + 1));
        localLabel->setFont(Fonts::caption());
        localLabel->setCursor(Qt::PointingHandCursor);
        localLabel->setToolTip(QStringLiteral("Click here to load the PAD file for your software"));
        setTextColour(localLabel, QColor(0, 0, 255));
        lblLocalPad[i] = localLabel;
    }
    setTextColour(lblPADURL[0], QColor(255, 0, 0));

    stackFrontToBack({txtPADURL[0], txtPADURL[1], txtPADURL[2], txtLocalPAD[0], txtLocalPAD[1],
                      txtLocalPAD[2], fraDesc[0], fraDesc[2], fraDesc[1], lblPADURL[0],
                      lblPADURL[1], lblPADURL[2], lblLocalPad[2], lblLocalPad[1], lblLocalPad[0]});
}

void MainWindow::buildDetailPanel(int profile)
{
    struct Row
    {
        Field field;
        int labelTop;
        int boxTop;
        int boxWidth;
        int boxHeight;
    };
    // The detail panel, top to bottom.
    const Row rows[] = {
        {Field::Author, 270, 240, 3615, 285},     {Field::Email, 615, 585, 3615, 285},
        {Field::Company, 960, 930, 3615, 285},    {Field::ProgName, 1425, 1395, 3615, 285},
        {Field::ProgVer, 1770, 1740, 3615, 285},  {Field::FileSize, 2115, 2085, 3615, 285},
        {Field::OS, 2580, 2550, 3615, 285},       {Field::SysReq, 2895, 2895, 3615, 525},
        {Field::HomePage, 3630, 3600, 4815, 285}, {Field::ProgURL, 3975, 3945, 4815, 285},
        {Field::SecURL, 4320, 4290, 4815, 285},   {Field::SShotURL, 4665, 4635, 4815, 285},
        {Field::ProgIcon, 5010, 4980, 4815, 285}, {Field::ShortDesc, 5475, 5445, 4815, 285},
        {Field::LongDesc, 5790, 5790, 4815, 1485}, {Field::Keywords, 7455, 7440, 4815, 690},
    };
    QFrame *panel = fraDesc[profile];
    for (const Row &row : rows) {
        const FieldSpec &info = fieldSpec(row.field);
        const bool secondUrl = row.field == Field::SecURL;
        auto *label = place(new QLabel(panel), QStringLiteral("lblDName_%1").arg(m_nextDName),
                            QRect(secondUrl ? 1800 : 720, row.labelTop, secondUrl ? 480 : 1560,
                                  225));
        label->setText(info.label);
        label->setFont(Fonts::caption());
        label->setToolTip(info.labelToolTip);
        lblDName[m_nextDName++] = label;

        const QString name = indexed(info.name, profile);
        const QRect box(2280, row.boxTop, row.boxWidth, row.boxHeight);
        QWidget *w = nullptr;
        if (info.multiLine) {
            auto *edit = place(new QPlainTextEdit(panel), name, box);
            edit->setVerticalScrollBarPolicy(info.scrollBar ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setTabChangesFocus(true);
            w = edit;
        } else {
            w = place(new QLineEdit(panel), name, box);
        }
        w->setFont(Fonts::textBox());
        w->setToolTip(info.toolTip);
        setBoxText(w, info.defaultText);
    }

    txtAuthor[profile] = panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtAuthor"), profile));
    txtEmail[profile] = panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtEmail"), profile));
    txtCompany[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtCompany"), profile));
    txtProgName[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtProgName"), profile));
    txtProgVer[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtProgVer"), profile));
    txtFileSize[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtFileSize"), profile));
    txtOS[profile] = panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtOS"), profile));
    txtSysReq[profile] =
        panel->findChild<QPlainTextEdit *>(indexed(QStringLiteral("txtSysReq"), profile));
    txtHomePage[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtHomePage"), profile));
    txtProgURL[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtProgURL"), profile));
    txtSecURL[profile] = panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtSecURL"), profile));
    txtSShotURL[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtSShotURL"), profile));
    txtProgIcon[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtProgIcon"), profile));
    txtShortDesc[profile] =
        panel->findChild<QLineEdit *>(indexed(QStringLiteral("txtShortDesc"), profile));
    txtLongDesc[profile] =
        panel->findChild<QPlainTextEdit *>(indexed(QStringLiteral("txtLongDesc"), profile));
    txtKeywords[profile] =
        panel->findChild<QPlainTextEdit *>(indexed(QStringLiteral("txtKeywords"), profile));

    auto *counter = place(new QLabel(panel), indexed(QStringLiteral("lblNumChar"), profile),
                          QRect(840, 6240, 1335, 225));
    counter->setText(QStringLiteral("Char: "));
    counter->setFont(Fonts::caption());
    lblNumChar[profile] = counter;

    keepEnabledLook(panel);
    panel->setEnabled(false);
}

int MainWindow::currentProfile() const
{
    // Only the program writes the tag, always "0", "1" or "2"; clamp anyway so a
    // stray value can never index outside the arrays.
    const int index = currentProfileTag().toInt();
    return std::clamp(index, 0, ProfileCount - 1);
}

QString MainWindow::currentProfileTag() const
{
    return fraDesc[0]->property("Tag").toString();
}

void MainWindow::setCurrentProfileTag(const QString &tag)
{
    fraDesc[0]->setProperty("Tag", tag);
}

QWidget *MainWindow::fieldBox(Field field, int profile) const
{
    switch (field) {
    case Field::Author: return txtAuthor[profile];
    case Field::Email: return txtEmail[profile];
    case Field::Company: return txtCompany[profile];
    case Field::ProgName: return txtProgName[profile];
    case Field::ProgVer: return txtProgVer[profile];
    case Field::FileSize: return txtFileSize[profile];
    case Field::OS: return txtOS[profile];
    case Field::SysReq: return txtSysReq[profile];
    case Field::HomePage: return txtHomePage[profile];
    case Field::ProgURL: return txtProgURL[profile];
    case Field::SecURL: return txtSecURL[profile];
    case Field::SShotURL: return txtSShotURL[profile];
    case Field::ProgIcon: return txtProgIcon[profile];
    case Field::ShortDesc: return txtShortDesc[profile];
    case Field::LongDesc: return txtLongDesc[profile];
    case Field::Keywords: return txtKeywords[profile];
    case Field::PADURL: return txtPADURL[profile];
    case Field::LocalPAD: return txtLocalPAD[profile];
    }
    return nullptr;
}

QString MainWindow::fieldText(Field field, int profile) const
{
    return boxText(fieldBox(field, profile));
}

void MainWindow::setFieldText(Field field, int profile, const QString &text)
{
    setBoxText(fieldBox(field, profile), text);
}

QString MainWindow::boxText(const QWidget *box)
{
    if (auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (auto *multi = qobject_cast<const QPlainTextEdit *>(box)) {
        QString text = multi->toPlainText();
        return text.replace(u'\n', crlf());
    }
    return {};
}

void MainWindow::setBoxText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
        line->setCursorPosition(0); // show a long value from its start
        return;
    }
    if (auto *multi = qobject_cast<QPlainTextEdit *>(box)) {
        // The editor keeps one line-feed per break; boxText gives CR LF back.
        QString plain = text;
        plain.replace(crlf(), QStringLiteral("\n")).replace(u'\r', u'\n');
        multi->setPlainText(plain);
    }
}

void MainWindow::tabControl_Click(int previousTab)
{
    if (previousTab == 0) {
        txtLocalPAD[0]->setFocus();
        Frame1->setEnabled(false);
        return;
    }
    fraBrowser->raise();
    if (m_saveSettings)
        m_saveSettings();
    Frame1->setEnabled(true);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            Q_EMIT windowGotFocus();
        else
            Q_EMIT windowLostFocus();
    }
    QWidget::changeEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over controls without mouse tracking bubble up to here too; only the
    // strips the tab control leaves uncovered are the window's background.
    if (!tabControl->geometry().contains(event->position().toPoint()))
        Q_EMIT backgroundMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove
        && (watched == lstSites->viewport() || watched == lblStatus))
        Q_EMIT backgroundMouseMove();
    return QWidget::eventFilter(watched, event);
}

} // namespace tarvelo
