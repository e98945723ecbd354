// A long working session in one process: page loads from the site list, each
// with its auto-fill, and as many pastes through a field button, in the window
// with the real browser. Nothing may pile up: resident memory grows by less
// than a tenth after the warm-up, and the window, the browser and the
// application hold as many objects, timers and connections at the end as after
// the warm-up. Prints the figures; exits with 1 when something piled up.
//
//   build/bench/bench_soak [rounds] [warm-up rounds]      (default 500 and 150)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "HeadlessEngine.h"
#include "WebWindow.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

qint64 residentKb(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

qint64 median(QList<qint64> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// QObject::receivers() is protected; a pointer to it, taken through a
// subclass, may be called on any object.
struct ReceiverCount : QObject
{
    static int of(const QObject *object, const char *signal)
    {
        return (object->*(&ReceiverCount::receivers))(signal);
    }
};

// What a session must not pile up, counted over the objects the program owns.
struct Census
{
    int objects = 0;
    int timerObjects = 0;
    int activeTimers = 0; // every timer registered with the event loop, QTimer or not
    int connections = 0;

    static Census take(const QList<QObject *> &roots)
    {
        Census census;
        QList<QObject *> all;
        for (QObject *root : roots)
            all << root << root->findChildren<QObject *>();
        QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
        for (QObject *object : std::as_const(all)) {
            ++census.objects;
            census.timerObjects += qobject_cast<QTimer *>(object) != nullptr;
            census.activeTimers += int(dispatcher->registeredTimers(object).size());
            const QMetaObject *meta = object->metaObject();
            for (int i = 0; i < meta->methodCount(); ++i) {
                const QMetaMethod method = meta->method(i);
                if (method.methodType() != QMetaMethod::Signal)
                    continue;
                const QByteArray signal =
                    QByteArray::number(QSIGNAL_CODE) + method.methodSignature();
                census.connections += ReceiverCount::of(object, signal.constData());
            }
        }
        return census;
    }
    QString text() const
    {
        return u"objects %1, QTimers %2, running timers %3, connections %4"_s.arg(objects)
            .arg(timerObjects)
            .arg(activeTimers)
            .arg(connections);
    }
    bool operator==(const Census &) const = default;
};

class Soak
{
public:
    Soak()
    {
        w.window().setFieldText(Field::PADURL, 0, u"https://example.org/pad/soak.xml"_s);
        list = w.fx.control<QListWidget>(u"lstSites"_s);
        // Two sites in the list, opened in turn.
        const QString page =
            QUrl::fromLocalFile(QStringLiteral(TARVELO_TEST_DATA "/web/faults-soak.html"))
                .toString();
        for (int i = 0; i < 2; ++i) {
            list->addItem(page + u"?site="_s + QChar(u'a' + i));
            sites[i] = list->item(list->count() - 1);
        }
        list->scrollToItem(sites[0]);
    }

    // One round as the user works: a double-click on the next site, its load
    // and auto-fill, then a field button that pastes a fresh value into the
    // box the page focuses. The page copies what it receives into its title.
    // The waits return on the signal itself: polling the event loop would
    // cost more time than the round.
    bool loadAndPaste(int round)
    {
        QListWidgetItem *site = sites[round % 2];
        const QPoint at = list->visualItemRect(site).center();
        QSignalSpy loaded(&w.browser, &Browser::downloadComplete);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        if (!loaded.wait(20000))
            return fail(round, u"no load"_s);
        const QString status = w.fx.control<QLabel>(u"lblStatus"_s)->text();
        if (status != u" Done - "_s + site->text())
            return fail(round, u"status "_s + status);

        const QString value = u"Value %1"_s.arg(round);
        const QString title = value + u" - Tarvelo"_s;
        QSignalSpy titles(&w.window(), &QWidget::windowTitleChanged);
        w.window().setFieldText(Field::ProgName, 0, value);
        w.fx.control<QPushButton>(u"cmdProgName"_s)->click();
        QDeadlineTimer deadline(20000);
        while (w.window().windowTitle() != title) {
            if (!titles.wait(int(deadline.remainingTime())))
                return fail(round, u"no paste, title "_s + w.window().windowTitle());
        }
        return true;
    }

    QList<QObject *> roots()
    {
        QList<QObject *> all{qApp, &w.browser, QGuiApplication::clipboard()};
        for (QWidget *window : QApplication::topLevelWidgets())
            all << window;
        return all;
    }

    // The engine's widget in the view runs a frame timer while the page
    // paints; the census is taken in a moment without it.
    Census quietCensus()
    {
        if (!QTest::qWaitFor([this] { return Census::take({w.browser.view()}).activeTimers == 0; }))
            QTextStream(stderr) << "the page kept painting\n";
        return Census::take(roots());
    }

    WebWindow w;
    QListWidget *list = nullptr;
    QListWidgetItem *sites[2] = {};

private:
    static bool fail(int round, const QString &why)
    {
        QTextStream(stderr) << "round " << round << ": " << why << "\n";
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    useHeadlessEngine();
    QApplication app(argc, argv);
    // The page process settles in over the first hundred or so loads.
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500;
    const int warmUp = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 150;
    const int sampleEvery = qBound(1, rounds / 4, 25); // at least two samples in each half
    QTextStream out(stdout);

    Soak soak;
    for (int round = 0; round < warmUp; ++round) {
        if (!soak.loadAndPaste(round))
            return 2;
    }
    const qint64 self = QCoreApplication::applicationPid();
    const qint64 pagePid = soak.w.browser.page()->renderProcessPid();
    const qint64 ownBefore = residentKb(self);
    const Census censusBefore = soak.quietCensus();

    // The page process's resident set swings by a tenth and more from one
    // load to the next even in a bare view (the script engine's heap comes
    // and goes), so it is sampled: growth shows as a later half above the
    // earlier one.
    QList<qint64> pageSamples;
    for (int round = 0; round < rounds; ++round) {
        if (!soak.loadAndPaste(warmUp + round))
            return 2;
        if ((round + 1) % sampleEvery == 0)
            pageSamples << residentKb(pagePid);
    }
    const qint64 ownAfter = residentKb(self);
    const qint64 pageEarlier = median(pageSamples.mid(0, pageSamples.size() / 2));
    const qint64 pageLater = median(pageSamples.mid(pageSamples.size() / 2));
    const Census censusAfter = soak.quietCensus();
    const bool samePageProcess = soak.w.browser.page()->renderProcessPid() == pagePid;

    out << "rounds " << rounds << " after " << warmUp << " warm-up rounds, loads completed "
        << soak.w.completions.size() << "\n"
        << "this process (kB)  " << ownBefore << " -> " << ownAfter << "\n"
        << "page process (kB, median of each half)  " << pageEarlier << " -> " << pageLater
        << (samePageProcess ? "" : "  (the page process changed)") << "\n"
        << "after warm-up  " << censusBefore.text() << "\n"
        << "at the end     " << censusAfter.text() << "\n";
    const bool grew = ownAfter >= ownBefore * 11 / 10 || pageLater >= pageEarlier * 11 / 10;
    if (grew || !(censusAfter == censusBefore) || !samePageProcess) {
        out << "something piled up\n";
        return 1;
    }
    return 0;
}
