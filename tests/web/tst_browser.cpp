#include "ScriptRunner.h"
#include "browser/WebEngineBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkCookie>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWebEngineCookieStore>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

using namespace Qt::StringLiterals;
using tarvelo::WebEngineBrowser;

namespace {

QString page(const QString &name)
{
    return QStringLiteral(TARVELO_TEST_DATA "/web/") + name;
}

QString fileUrl(const QString &name)
{
    return QUrl::fromLocalFile(page(name)).toString();
}

// A directory site on this machine: every answer sets a login cookie that
// lasts a month, and the Cookie header of each request is noted.
bool serveDirectoryPage(QTcpServer &server, QByteArrayList &cookiesSent)
{
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, &cookiesSent] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &cookiesSent] {
                QByteArray request = socket->property("request").toByteArray() + socket->readAll();
                socket->setProperty("request", request);
                if (!request.contains("\r\n\r\n"))
                    return;
                for (const QByteArray &line : request.split('\n')) {
                    if (line.toLower().startsWith("cookie:"))
                        cookiesSent << line.mid(7).trimmed();
                }
                const QByteArray body = "<!DOCTYPE html><title>Directory</title><p>Welcome</p>";
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n"
                              "Set-Cookie: session=logged-in; Max-Age=2592000; Path=/\r\n"
                              "Connection: close\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        }
    });
    return server.listen(QHostAddress::LocalHost);
}

QString siteAddress(const QTcpServer &server)
{
    return u"http://127.0.0.1:%1/submit.html"_s.arg(server.serverPort());
}

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void addressToUrl_data();
    void addressToUrl();
    void loadReportsStatusProgressAndTitle_data();
    void loadReportsStatusProgressAndTitle();
    void failedLoadStillCompletes();
    void backWithoutHistoryDoesNothing();
    void backAndForwardStepThroughHistory();
    void refreshLoadsPageAgain();
    void focusSignalsFollowKeyboardFocus();
    void pasteReachesFocusedInputAfterButtonTookFocus();
    void hoveredLinkShowsInStatus();
    void newWindowOpensInSameView_data();
    void newWindowOpensInSameView();
    void downloadAsksWhereToSave_data();
    void downloadAsksWhereToSave();
    void storeLoginCookie();
    void cookiesSurviveARun();

private:
    void makeBrowser();
    bool load(const QString &name);
    bool loadAddress(const QString &address);
    bool waitForCompletions(QSignalSpy &spy, int count);

    std::unique_ptr<QWidget> m_host;
    WebEngineBrowser *m_browser = nullptr;
    QPushButton *m_button = nullptr;
};

void TestBrowser::init()
{
    makeBrowser();
}

void TestBrowser::cleanup()
{
    m_host.reset();
    m_browser = nullptr;
    m_button = nullptr;
}

void TestBrowser::makeBrowser()
{
    m_host = std::make_unique<QWidget>();
    m_browser = new WebEngineBrowser(m_host.get());
    auto *layout = new QVBoxLayout(m_host.get());
    layout->addWidget(m_browser->widget());
    m_button = new QPushButton(u"A button"_s, m_host.get());
    layout->addWidget(m_button);
    m_host->resize(800, 600);
    m_host->show();
    QApplication::setActiveWindow(m_host.get());
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
}

bool TestBrowser::waitForCompletions(QSignalSpy &spy, int count)
{
    return QTest::qWaitFor([&] { return spy.size() >= count; }, 20000) && spy.size() == count;
}

bool TestBrowser::loadAddress(const QString &address)
{
    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    m_browser->navigate(address);
    return waitForCompletions(complete, 1) && m_browser->locationUrl() == address;
}

bool TestBrowser::load(const QString &name)
{
    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    m_browser->navigate(page(name));
    return waitForCompletions(complete, 1) && m_browser->locationUrl() == fileUrl(name);
}

void TestBrowser::addressToUrl_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QUrl>("url");

    QTest::newRow("local path") << u"/opt/tarvelo/tempIndex.html"_s
                                << QUrl(u"file:///opt/tarvelo/tempIndex.html"_s);
    QTest::newRow("local path with blank and #")
        << u"/tmp/my pages/a#1.html"_s << QUrl::fromLocalFile(u"/tmp/my pages/a#1.html"_s);
    QTest::newRow("http with query") << u"http://www.example.com/submit.php?tag=txt"_s
                                     << QUrl(u"http://www.example.com/submit.php?tag=txt"_s);
    QTest::newRow("https") << u"https://example.org/"_s << QUrl(u"https://example.org/"_s);
    QTest::newRow("data") << u"data:text/html;base64,PHA+eDwvcD4="_s
                          << QUrl(u"data:text/html;base64,PHA+eDwvcD4="_s);
}

void TestBrowser::addressToUrl()
{
    QFETCH(QString, address);
    QFETCH(QUrl, url);
    QCOMPARE(WebEngineBrowser::addressToUrl(address), url);
}

void TestBrowser::loadReportsStatusProgressAndTitle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");

    QTest::newRow("plain") << u"plain.html"_s << u"Plain page"_s;
    QTest::newRow("second") << u"second.html"_s << u"Second page"_s;
}

void TestBrowser::loadReportsStatusProgressAndTitle()
{
    QFETCH(QString, name);
    QFETCH(QString, title);

    QStringList events;
    connect(m_browser, &WebEngineBrowser::statusTextChange, this,
            [&](const QString &text) { events << u"status "_s + text; });
    connect(m_browser, &WebEngineBrowser::progressChange, this, [&](int progress, int maximum) {
        events << u"progress %1/%2"_s.arg(progress).arg(maximum);
    });
    connect(m_browser, &WebEngineBrowser::titleChange, this,
            [&](const QString &text) { events << u"title "_s + text; });
    connect(m_browser, &WebEngineBrowser::downloadComplete, this,
            [&] { events << u"complete "_s + m_browser->locationUrl(); });

    QVERIFY(load(name));
    QTRY_VERIFY(events.contains(u"title "_s + title));

    const QString url = fileUrl(name);
    QCOMPARE(events.first(), u"status Opening "_s + QUrl(url).toDisplayString());
    const qsizetype complete = events.indexOf(u"complete "_s + url);
    QVERIFY2(complete > 0, qPrintable(events.join(u" | "_s)));
    QCOMPARE(events.at(complete - 1), u"progress -1/100"_s);
    QVERIFY(events.contains(u"progress 100/100"_s));
    int last = -1;
    for (const QString &event : events.mid(0, complete - 1)) {
        if (!event.startsWith(u"progress "_s))
            continue;
        const int progress = event.mid(9).section(u'/', 0, 0).toInt();
        QVERIFY2(progress >= last && progress <= 100, qPrintable(events.join(u" | "_s)));
        last = progress;
    }
}

void TestBrowser::failedLoadStillCompletes()
{
    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    QSignalSpy progress(m_browser, &WebEngineBrowser::progressChange);
    m_browser->navigate(page(u"no-such-page.html"_s));
    QVERIFY(waitForCompletions(complete, 1));
    QCOMPARE(progress.last(), (QList<QVariant>{-1, 100}));
}

void TestBrowser::backWithoutHistoryDoesNothing()
{
    QVERIFY(!m_browser->goBack());
    QVERIFY(!m_browser->goForward());
    QVERIFY(load(u"plain.html"_s));
    QVERIFY(!m_browser->goBack());
    QVERIFY(!m_browser->goForward());

    // Nothing was set going: the next load is the only one to complete, and
    // the history holds exactly the two pages.
    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    m_browser->navigate(page(u"second.html"_s));
    QVERIFY(waitForCompletions(complete, 1));
    QCOMPARE(m_browser->locationUrl(), fileUrl(u"second.html"_s));
    QVERIFY(m_browser->goBack());
    QVERIFY(waitForCompletions(complete, 2));
    QCOMPARE(m_browser->locationUrl(), fileUrl(u"plain.html"_s));
    QVERIFY(!m_browser->goBack());
}

void TestBrowser::backAndForwardStepThroughHistory()
{
    QVERIFY(load(u"plain.html"_s));
    QVERIFY(load(u"second.html"_s));
    QVERIFY(!m_browser->goForward());

    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    QVERIFY(m_browser->goBack());
    QVERIFY(waitForCompletions(complete, 1));
    QCOMPARE(m_browser->locationUrl(), fileUrl(u"plain.html"_s));

    QVERIFY(m_browser->goForward());
    QVERIFY(waitForCompletions(complete, 2));
    QCOMPARE(m_browser->locationUrl(), fileUrl(u"second.html"_s));
}

void TestBrowser::refreshLoadsPageAgain()
{
    QVERIFY(load(u"plain.html"_s));
    QCOMPARE(runScriptAndWait(*m_browser, u"document.getElementById('box').value = 'typed'"_s)
                 .toString(),
             u"typed"_s);

    QSignalSpy complete(m_browser, &WebEngineBrowser::downloadComplete);
    m_browser->refresh();
    QVERIFY(waitForCompletions(complete, 1));
    QCOMPARE(m_browser->locationUrl(), fileUrl(u"plain.html"_s));
    QCOMPARE(runScriptAndWait(*m_browser, u"document.getElementById('box').value"_s).toString(),
             u"before"_s);
}

void TestBrowser::focusSignalsFollowKeyboardFocus()
{
    QVERIFY(load(u"plain.html"_s));
    QSignalSpy got(m_browser, &WebEngineBrowser::gotFocus);
    QSignalSpy lost(m_browser, &WebEngineBrowser::lostFocus);

    m_browser->setFocus();
    QTRY_COMPARE(got.size(), 1);
    QVERIFY(m_browser->hasFocus());
    QCOMPARE(lost.size(), 0);

    m_button->setFocus();
    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(!m_browser->hasFocus());

    m_browser->setFocus();
    QTRY_COMPARE(got.size(), 2);
    QVERIFY(m_browser->hasFocus());
    QCOMPARE(lost.size(), 1);
}

void TestBrowser::pasteReachesFocusedInputAfterButtonTookFocus()
{
    QVERIFY(load(u"plain.html"_s));
    m_browser->setFocus();
    QTRY_VERIFY(m_browser->hasFocus());
    QCOMPARE(runScriptAndWait(*m_browser, u"var box = document.getElementById('box'); box.focus(); "
                                          "document.activeElement === box"_s),
             QVariant(true));

    // A field button takes the keyboard focus away from the browser.
    m_button->setFocus();
    QTRY_VERIFY(!m_browser->hasFocus());

    QGuiApplication::clipboard()->setText(u"Pasted \"value\""_s);
    m_browser->selectAll();
    m_browser->paste();
    QTRY_COMPARE(runScriptAndWait(*m_browser, u"document.getElementById('box').value"_s).toString(),
                 u"Pasted \"value\""_s);
}

void TestBrowser::hoveredLinkShowsInStatus()
{
    QVERIFY(load(u"plain.html"_s));
    QSignalSpy status(m_browser, &WebEngineBrowser::statusTextChange);
    const QVariantList box =
        runScriptAndWait(*m_browser,
                         u"var r = document.getElementById('next').getBoundingClientRect(); "
                         "[r.left + 10, r.top + 10]"_s)
            .toList();
    QCOMPARE(box.size(), 2);
    QWidget *target = m_browser->view()->focusProxy();
    QVERIFY(target);
    const QPoint inside(box.at(0).toInt(), box.at(1).toInt());
    QTest::mouseMove(target, inside + QPoint(5, 5));
    QTest::mouseMove(target, inside);
    QTRY_VERIFY(!status.isEmpty());
    QCOMPARE(status.last().first().toString(), fileUrl(u"second.html"_s));
}

void TestBrowser::newWindowOpensInSameView_data()
{
    QTest::addColumn<QString>("click");

    QTest::newRow("link to a new window") << u"document.getElementById('blank').click()"_s;
    QTest::newRow("window.open") << u"document.getElementById('open').click()"_s;
}

void TestBrowser::newWindowOpensInSameView()
{
    QFETCH(QString, click);
    QVERIFY(load(u"newwindow.html"_s));
    m_browser->runIsolatedScript(click); // the page it runs in is replaced: no answer comes
    QTRY_COMPARE_WITH_TIMEOUT(m_browser->locationUrl(), fileUrl(u"second.html"_s), 20000);
    QTRY_COMPARE(runScriptAndWait(*m_browser, u"document.title"_s).toString(), u"Second page"_s);
}

void TestBrowser::downloadAsksWhereToSave_data()
{
    QTest::addColumn<bool>("save");

    QTest::newRow("saved") << true;
    QTest::newRow("cancelled") << false;
}

void TestBrowser::downloadAsksWhereToSave()
{
    QFETCH(bool, save);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(u"chosen name.txt"_s);

    QStringList suggestions;
    m_browser->setSaveLocationChooser([&](const QString &suggested) {
        suggestions << suggested;
        return save ? target : QString();
    });
    QPointer<QWebEngineDownloadRequest> download;
    connect(m_browser->profile(), &QWebEngineProfile::downloadRequested, this,
            [&](QWebEngineDownloadRequest *request) { download = request; });

    QVERIFY(load(u"download.html"_s));
    runScriptAndWait(*m_browser, u"document.getElementById('file').click()"_s);
    QTRY_COMPARE_WITH_TIMEOUT(suggestions.size(), 1, 20000);
    QVERIFY2(suggestions.first().endsWith(u"/notes.txt"_s), qPrintable(suggestions.first()));
    QVERIFY(download);

    if (!save) {
        QCOMPARE(download->state(), QWebEngineDownloadRequest::DownloadCancelled);
        QVERIFY(!QFile::exists(target));
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(download->state(), QWebEngineDownloadRequest::DownloadCompleted,
                              20000);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("fetched text"));
}

void TestBrowser::storeLoginCookie()
{
    // Runs in a child process only: a run of the program that logs in.
    if (!qEnvironmentVariableIsSet("TARVELO_LOGIN_RUN"))
        QSKIP("the first run of cookiesSurviveARun");
    QTcpServer site;
    QByteArrayList cookiesSent;
    QVERIFY(serveDirectoryPage(site, cookiesSent));
    QVERIFY(loadAddress(siteAddress(site)));
}

void TestBrowser::cookiesSurviveARun()
{
    QVERIFY(m_browser->profile()->persistentStoragePath().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    cleanup();

    QProcess firstRun;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TARVELO_LOGIN_RUN"_s, u"1"_s);
    firstRun.setProcessEnvironment(environment);
    firstRun.start(QCoreApplication::applicationFilePath(), {u"storeLoginCookie"_s});
    QVERIFY(firstRun.waitForFinished(120000));
    QVERIFY2(firstRun.exitCode() == 0, firstRun.readAllStandardOutput().constData());

    makeBrowser();
    QTcpServer site;
    QByteArrayList cookiesSent;
    QVERIFY(serveDirectoryPage(site, cookiesSent));
    QVERIFY(loadAddress(siteAddress(site)));
    QVERIFY2(cookiesSent.contains("session=logged-in"), cookiesSent.join(" | ").constData());
}

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
