// A long working session in one process: 500 page loads from the site list,
// each with its auto-fill, and 500 pastes through a field button, in the
// window with the real browser. Nothing may pile up: resident memory grows by
// less than a tenth after the warm-up, and the window, the browser and the
// application hold as many objects, timers and connections at the end as
// after the warm-up.
#include "WindowFixture.h"
#include "browser/WebEngineBrowser.h"
#include "ui/FrmMain.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QString padUrl = u"https://example.org/pad/soak.xml"_s;

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
        for (QObject *root : roots) {
            all.append(root);
            all.append(root->findChildren<QObject *>());
        }
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
};

char *toString(const Census &c)
{
    return qstrdup(QByteArray("objects " + QByteArray::number(c.objects) + ", QTimers " +
                              QByteArray::number(c.timerObjects) + ", running timers " +
                              QByteArray::number(c.activeTimers) + ", connections " +
                              QByteArray::number(c.connections))
                       .constData());
}

bool operator==(const Census &a, const Census &b)
{
    return a.objects == b.objects && a.timerObjects == b.timerObjects &&
           a.activeTimers == b.activeTimers && a.connections == b.connections;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsAndPastes();

private:
    bool loadAndPaste(int round);
    QList<QObject *> roots() const;

    std::unique_ptr<WebEngineBrowser> m_browser;
    std::unique_ptr<WindowFixture> m_fixture;
    QListWidgetItem *m_sites[2] = {};
    int m_completions = 0;
};

QList<QObject *> TestSoak::roots() const
{
    QList<QObject *> list{qApp, m_browser.get(), QGuiApplication::clipboard()};
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        list.append(window);
    return list;
}

// One round as the user works: a double-click on the next site, its load and
// auto-fill, then a field button that pastes a fresh value into the box the
// page focuses. The page copies what it receives into its title. The waits
// return on the signal itself: polling the event loop would cost more time
// than the round.
bool TestSoak::loadAndPaste(int round)
{
    FrmMain &window = m_fixture->window();
    QListWidget *list = window.lstSites;
    QListWidgetItem *site = m_sites[round % 2];
    const QPoint at = list->visualItemRect(site).center();
    QSignalSpy loaded(m_browser.get(), &Browser::downloadComplete);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    if (!loaded.wait(20000)) {
        qWarning("round %d: no load", round);
        return false;
    }
    if (window.lblStatus->text() != u" Done - "_s + site->text()) {
        qWarning("round %d: status %s", round, qPrintable(window.lblStatus->text()));
        return false;
    }

    const QString value = u"Value %1"_s.arg(round);
    const QString title = value + u" - Tarvelo"_s;
    QSignalSpy titles(&window, &QWidget::windowTitleChanged);
    window.setFieldText(Field::ProgName, 0, value);
    window.cmdProgName->click();
    QDeadlineTimer deadline(20000);
    while (window.windowTitle() != title) {
        if (!titles.wait(int(deadline.remainingTime()))) {
            qWarning("round %d: no paste, title %s", round, qPrintable(window.windowTitle()));
            return false;
        }
    }
    return true;
}

void TestSoak::loadsAndPastes()
{
    // The page process settles in over the first hundred or so loads.
    constexpr int warmUp = 150;
    constexpr int rounds = 500;
    constexpr int sampleEvery = 25;

    m_browser = std::make_unique<WebEngineBrowser>();
    m_fixture = std::make_unique<WindowFixture>(m_browser.get());
    FrmMain &window = m_fixture->window();
    window.setFieldText(Field::PADURL, 0, padUrl);
    connect(m_browser.get(), &Browser::downloadComplete, this, [this] { ++m_completions; });
    m_fixture->session->startUp();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_COMPARE_WITH_TIMEOUT(m_completions, 1, 30000); // the help page

    // Two sites in the list, opened in turn.
    const QString page =
        QUrl::fromLocalFile(QStringLiteral(TARVELO_TEST_DATA "/web/faults-soak.html")).toString();
    for (int i = 0; i < 2; ++i) {
        const QString address = page + u"?site="_s + QChar(u'a' + i);
        window.lstSites->addItem(address);
        m_sites[i] = window.lstSites->findItems(address, Qt::MatchExactly).value(0);
        QVERIFY(m_sites[i]);
    }
    window.lstSites->scrollToItem(m_sites[0]);
    QVERIFY(window.lstSites->viewport()->rect().contains(
        window.lstSites->visualItemRect(m_sites[1]).center()));

    for (int round = 0; round < warmUp; ++round)
        QVERIFY2(loadAndPaste(round), "warm-up");
    const qint64 self = QCoreApplication::applicationPid();
    const qint64 pagePid = m_browser->page()->renderProcessPid();
    const qint64 ownBefore = residentKb(self);
    // The engine's widget in the view runs a frame timer while the page
    // paints; both counts are taken in a moment without it.
    const auto painting = [this] { return Census::take({m_browser->view()}).activeTimers > 0; };
    QTRY_VERIFY(!painting());
    const Census censusBefore = Census::take(roots());
    QVERIFY(ownBefore > 0);
    QVERIFY(censusBefore.timerObjects > 0);
    QVERIFY(censusBefore.connections > 0);

    // The page process's resident set swings by a tenth and more from one
    // load to the next even in a bare view (the script engine's heap comes
    // and goes), so it is sampled: growth shows as a later half above the
    // earlier one.
    QList<qint64> pageSamples;
    for (int round = 0; round < rounds; ++round) {
        QVERIFY2(loadAndPaste(warmUp + round), qPrintable(u"round %1"_s.arg(warmUp + round)));
        if ((round + 1) % sampleEvery == 0)
            pageSamples.append(residentKb(pagePid));
    }
    QCOMPARE(m_completions, 1 + warmUp + rounds);
    QCOMPARE(m_browser->page()->renderProcessPid(), pagePid);

    const qint64 ownAfter = residentKb(self);
    const qint64 pageEarlier = median(pageSamples.mid(0, pageSamples.size() / 2));
    const qint64 pageLater = median(pageSamples.mid(pageSamples.size() / 2));
    qInfo("this process %lld -> %lld kB; page process, median of each half: %lld -> %lld kB",
          ownBefore, ownAfter, pageEarlier, pageLater);
    QVERIFY2(ownAfter < ownBefore * 11 / 10, "this process grew by a tenth or more");
    QVERIFY2(pageLater < pageEarlier * 11 / 10, "the page process grew by a tenth or more");
    QTRY_VERIFY(!painting());
    const Census censusAfter = Census::take(roots());
    qInfo("after warm-up: %s", QScopedArrayPointer<char>(toString(censusBefore)).data());
    QCOMPARE(censusAfter, censusBefore);
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
