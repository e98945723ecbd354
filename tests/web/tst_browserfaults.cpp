// The window with the real browser when pages misbehave: a page that never
// finishes loading, a page that goes elsewhere while the auto-fill runs, a
// page process that dies. Each time the window must stay usable: the next
// site opens from the site list, gets its PAD URL, and a field button pastes
// into it.
#include "WindowFixture.h"
#include "browser/WebEngineBrowser.h"
#include "ui/FrmMain.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QString padUrl = u"https://example.org/pad/app.xml"_s;
const QString programName = u"Faultless Program"_s;

QString page(const QString &name)
{
    return QStringLiteral(TARVELO_TEST_DATA "/web/") + name;
}

QString fileUrl(const QString &name)
{
    return QUrl::fromLocalFile(page(name)).toString();
}

// A directory site on this machine. Its page /hang never finishes: the head of
// the page arrives at once, the rest of the promised length never does. Its
// page /form is an ordinary form. Every other path is not found.
class LocalSite : public QObject
{
public:
    LocalSite()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost); }
    QString address(const QString &path) const
    {
        return u"http://127.0.0.1:%1/%2"_s.arg(m_server.serverPort()).arg(path);
    }

    // Connections that still wait for the rest of the page.
    int waiting() const
    {
        int count = 0;
        for (const QTcpSocket *socket : m_hanging)
            count += socket && socket->state() == QAbstractSocket::ConnectedState;
        return count;
    }
    int hangsServed = 0;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
            return;
        socket->setProperty("answered", true);
        if (request.startsWith("GET /hang ")) {
            ++hangsServed;
            const QByteArray head =
                "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                "<title>Never finished</title></head><body>"
                "<form name=\"submit\" action=\"#\"><input name=\"pad\"></form>" +
                QByteArray(4096, ' ');
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                          "Content-Length: 1000000\r\n\r\n" +
                          head);
            m_hanging.append(socket);
            return;
        }
        if (request.startsWith("GET /form ")) {
            const QByteArray body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                                    "<title>Site form</title></head><body>"
                                    "<p><input id=\"name\" style=\"width:400px\"></p>"
                                    "<form name=\"submit\" action=\"#\"><input name=\"pad\"></form>"
                                    "</body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                          "Connection: close\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
        } else {
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_hanging;
};

} // namespace

class TestBrowserFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void neverEndingLoad_data();
    void neverEndingLoad();
    void leaveWhileFilling_data();
    void leaveWhileFilling();
    void focusStaysAcrossSites_data();
    void focusStaysAcrossSites();
    void pageProcessEnds_data();
    void pageProcessEnds();

private:
    QVariant evaluate(const QString &script);
    void openSite(const QString &address);
    QString landingAddress()
    {
        return fileUrl(u"faults-landing.html"_s) + u"?visit=%1"_s.arg(++m_visits);
    }
    void landingWorks(bool byRefresh = false);
    FrmMain &window() { return m_fixture->window(); }

    std::unique_ptr<WebEngineBrowser> m_browser;
    std::unique_ptr<WindowFixture> m_fixture;
    std::unique_ptr<LocalSite> m_site;
    std::unique_ptr<QSignalSpy> m_completions;
    int m_visits = 0;
};

void TestBrowserFaults::init()
{
    m_site = std::make_unique<LocalSite>();
    QVERIFY(m_site->listen());
    m_browser = std::make_unique<WebEngineBrowser>();
    m_fixture = std::make_unique<WindowFixture>(m_browser.get());
    m_completions = std::make_unique<QSignalSpy>(m_browser.get(), &Browser::downloadComplete);
    window().setFieldText(Field::ProgName, 0, programName);
    window().setFieldText(Field::PADURL, 0, padUrl);

    // Start-up as a run does it: Home shows the help page, then the window shows.
    m_fixture->session->startUp();
    window().show();
    QApplication::setActiveWindow(&window());
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    QTRY_COMPARE_WITH_TIMEOUT(window().windowTitle(), u"First things first - Tarvelo"_s, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(m_completions->size(), 1, 10000);
    m_completions->clear();
}

void TestBrowserFaults::cleanup()
{
    m_completions.reset();
    m_fixture.reset(); // the window takes the view with it
    m_browser.reset();
    m_site.reset();
}

QVariant TestBrowserFaults::evaluate(const QString &script)
{
    QVariant result;
    bool done = false;
    m_browser->runIsolatedScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("script gave no answer: %s", qPrintable(script));
    return result;
}

// A double-click on the site in the list, as the user opens a site. The test
// adds its local sites to the list for that.
void TestBrowserFaults::openSite(const QString &address)
{
    QListWidget *list = window().lstSites;
    QList<QListWidgetItem *> found = list->findItems(address, Qt::MatchExactly);
    if (found.isEmpty()) {
        list->addItem(address);
        found = list->findItems(address, Qt::MatchExactly);
    }
    QCOMPARE(found.size(), 1);
    list->scrollToItem(found.first());
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The window is usable: the landing page opens from the site list (or comes
// again by Refresh) as a fresh document and gets its PAD URL, the keypad
// timer is armed, and a field button pastes into the page.
void TestBrowserFaults::landingWorks(bool byRefresh)
{
    const qsizetype before = m_completions->size();
    QString address;
    if (byRefresh) {
        address = m_browser->locationUrl();
        QTest::mouseClick(window().cmdRefresh, Qt::LeftButton);
        m_browser->setFocus(); // Refresh leaves the focus on its button
    } else {
        address = landingAddress();
        openSite(address);
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_completions->size() > before, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(window().lblStatus->text(), u" Done - "_s + address, 20000);
    QCOMPARE(window().windowTitle(), u"Landing page - Tarvelo"_s);
    QCOMPARE(window().lblProgress->text(), QString());
    QTRY_COMPARE(evaluate(u"document.forms.submit.pad.value"_s).toString(), padUrl);
    QCOMPARE(evaluate(u"document.forms.submit.padcat.selectedIndex"_s).toInt(), 1);
    // a document of its own, not one that outlived something
    QCOMPARE(evaluate(u"String(document.body.dataset.seen)"_s).toString(), u"undefined"_s);
    evaluate(u"document.body.dataset.seen = 'yes'"_s);

    QTRY_VERIFY(window().browserHasFocus);
    QVERIFY(window().tmrGetKey->isActive());
    QCOMPARE(evaluate(u"document.getElementById('name').focus(); document.activeElement.id"_s)
                 .toString(),
             u"name"_s);
    QTest::mouseClick(window().cmdProgName, Qt::LeftButton);
    QTRY_COMPARE(evaluate(u"document.getElementById('name').value"_s).toString(), programName);
    QTRY_VERIFY(window().browserHasFocus);
}

void TestBrowserFaults::neverEndingLoad_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("stop, then next site") << u"stop"_s;
    QTest::newRow("next site straight away") << u"next"_s;
    QTest::newRow("home, then next site") << u"home"_s;
}

void TestBrowserFaults::neverEndingLoad()
{
    QFETCH(QString, way);

    const QString hang = m_site->address(u"hang"_s);
    openSite(hang);
    // The head of the page is there, and the load goes on.
    QTRY_COMPARE_WITH_TIMEOUT(window().windowTitle(), u"Never finished - Tarvelo"_s, 20000);
    QCOMPARE(m_site->hangsServed, 1);
    QCOMPARE(m_site->waiting(), 1);
    QCOMPARE(m_completions->size(), 0);
    QVERIFY(window().browserHasFocus);

    if (way == u"stop") {
        // Stop ends the load where it stands; the fill runs on what came.
        QTest::mouseClick(window().cmdStop, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_completions->size(), 1, 10000);
        QCOMPARE(window().lblStatus->text(), u" Done - "_s + hang);
        QCOMPARE(window().lblProgress->text(), QString());
        QTRY_COMPARE(evaluate(u"document.forms.submit.pad.value"_s).toString(), padUrl);
    } else if (way == u"home") {
        QTest::mouseClick(window().cmdHome, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(window().windowTitle(), u"First things first - Tarvelo"_s, 20000);
        QTRY_VERIFY(window().lblStatus->text().endsWith(u"/tempIndex.html"_s));
    }
    landingWorks();
    if (QTest::currentTestFailed())
        return;
    // The browser has given up the unfinished answer and never asked again.
    QTRY_COMPARE(m_site->waiting(), 0);
    QCOMPARE(m_site->hangsServed, 1);
}

void TestBrowserFaults::leaveWhileFilling_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("userLeaves");

    QTest::newRow("page leaves from its load event") << u"faults-leave-onload.html"_s << false;
    QTest::newRow("page leaves just after its load") << u"faults-leave-soon.html"_s << false;
    QTest::newRow("user opens next site at load end") << u"plain.html"_s << true;
    // 300000 options for the category search to walk
    QTest::newRow("next site while a long fill runs") << u"faults-slow-fill.html"_s << true;
}

void TestBrowserFaults::leaveWhileFilling()
{
    QFETCH(QString, first);
    QFETCH(bool, userLeaves);

    const QString landing = userLeaves ? landingAddress() : fileUrl(u"faults-landing.html"_s);
    if (userLeaves) {
        // Connected after the window's own handler: the fill has gone to the
        // page when the user opens the next site.
        auto once = std::make_shared<QMetaObject::Connection>();
        *once = connect(m_browser.get(), &Browser::downloadComplete, this, [this, once, landing] {
            disconnect(*once);
            openSite(landing);
        });
    }
    m_browser->navigate(page(first));
    QTRY_COMPARE_WITH_TIMEOUT(m_browser->locationUrl(), landing, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(window().lblStatus->text(), u" Done - "_s + landing, 20000);
    QCOMPARE(window().windowTitle(), u"Landing page - Tarvelo"_s);
    QCOMPARE(window().lblProgress->text(), QString());
    QTRY_COMPARE(evaluate(u"document.forms.submit.pad.value"_s).toString(), padUrl);
    QCOMPARE(evaluate(u"document.forms.submit.padcat.selectedIndex"_s).toInt(), 1);

    // Home, then the list again: everything still answers.
    QTest::mouseClick(window().cmdHome, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(window().windowTitle(), u"First things first - Tarvelo"_s, 20000);
    landingWorks();
}

void TestBrowserFaults::focusStaysAcrossSites_data()
{
    QTest::addColumn<bool>("fromSite");

    // Each puts the page in another page process, with a new widget in the view.
    QTest::newRow("local page to a site") << false;
    QTest::newRow("site to a local page") << true;
}

// The double-click on a site gives the browser the keyboard focus; the page
// that comes must not take it away, or the keypad would stop working.
void TestBrowserFaults::focusStaysAcrossSites()
{
    QFETCH(bool, fromSite);

    const QString site = m_site->address(u"form"_s);
    const QString local = landingAddress();
    const QString first = fromSite ? site : local;
    const QString second = fromSite ? local : site;
    openSite(first);
    QTRY_COMPARE_WITH_TIMEOUT(window().lblStatus->text(), u" Done - "_s + first, 20000);
    QVERIFY(window().browserHasFocus);

    const qint64 firstProcess = m_browser->page()->renderProcessPid();
    openSite(second);
    QVERIFY(window().browserHasFocus);
    QSignalSpy lost(m_browser.get(), &Browser::lostFocus);
    QTRY_COMPARE_WITH_TIMEOUT(window().lblStatus->text(), u" Done - "_s + second, 20000);
    QVERIFY(m_browser->page()->renderProcessPid() != firstProcess);
    QCOMPARE(lost.size(), 0);
    QVERIFY(m_browser->hasFocus());
    QVERIFY(window().browserHasFocus);
    QVERIFY(window().tmrGetKey->isActive());

    // and the keypad's road works: a field button pastes into the new page
    QCOMPARE(evaluate(u"document.getElementById('name').focus(); document.activeElement.id"_s)
                 .toString(),
             u"name"_s);
    QTest::mouseClick(window().cmdProgName, Qt::LeftButton);
    QTRY_COMPARE(evaluate(u"document.getElementById('name').value"_s).toString(), programName);
}

void TestBrowserFaults::pageProcessEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QWebEnginePage::RenderProcessTerminationStatus>("status");
    QTest::addColumn<bool>("byRefresh");

    const auto killed = QWebEnginePage::KilledTerminationStatus;
    QTest::newRow("killed by the system, next site") << u"kill"_s << killed << false;
    QTest::newRow("killed by the system, refresh") << u"kill"_s << killed << true;
    QTest::newRow("killed while a page hangs") << u"kill during load"_s << killed << false;
    QTest::newRow("crash, next site")
        << u"chrome://crash"_s << QWebEnginePage::CrashedTerminationStatus << false;
    QTest::newRow("killed from inside, next site") << u"chrome://kill"_s << killed << false;
}

void TestBrowserFaults::pageProcessEnds()
{
    QFETCH(QString, how);
    QFETCH(QWebEnginePage::RenderProcessTerminationStatus, status);
    QFETCH(bool, byRefresh);

    QSignalSpy ended(m_browser->page(), &QWebEnginePage::renderProcessTerminated);
    // The user is at work in a page when its process goes.
    const QString landing = landingAddress();
    openSite(landing);
    QTRY_COMPARE_WITH_TIMEOUT(window().lblStatus->text(), u" Done - "_s + landing, 20000);
    QVERIFY(window().browserHasFocus);

    if (how.startsWith(u"kill"_s)) {
        if (how == u"kill during load") {
            openSite(m_site->address(u"hang"_s));
            QTRY_COMPARE_WITH_TIMEOUT(window().windowTitle(), u"Never finished - Tarvelo"_s, 20000);
            QVERIFY(!window().lblProgress->text().isEmpty());
        }
        const qint64 pid = m_browser->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
    } else {
        m_browser->navigate(how);
    }
    const qsizetype before = m_completions->size();
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
    QCOMPARE(ended.first().at(0).value<QWebEnginePage::RenderProcessTerminationStatus>(), status);
    if (how == u"kill during load") {
        // the load ends with its process: nothing is left half-done in the window
        QTRY_COMPARE(m_completions->size(), before + 1);
        QCOMPARE(window().lblStatus->text(), u" Done - "_s + m_site->address(u"hang"_s));
        QCOMPARE(window().lblProgress->text(), QString());
    }

    landingWorks(byRefresh);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(ended.size(), 1);
    QVERIFY(m_browser->page()->renderProcessPid() > 0);
}

QTEST_MAIN(TestBrowserFaults)
#include "tst_browserfaults.moc"
