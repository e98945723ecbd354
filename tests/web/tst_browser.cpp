// The window with the real browser: each way a value reaches the page (the
// auto-fill with hostile PAD URLs too), and pages that misbehave.
#include "WebWindow.h"
#include "core/browser/AutoFillScript.h"
#include "core/profiles/TidyValue.h"
#include "gui/profiles/ProfilesPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <csignal>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QString name = u"Tarvelo Writer \"2.1\" <b>"_s;
const QString typed = u"Łukasz"_s;

// A site on this machine whose page /hang never finishes: its head arrives at
// once, the rest of the promised length never does.
class HangingSite : public QTcpServer
{
public:
    HangingSite()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    if (!socket->readAll().startsWith("GET /hang ")) // the icon, say
                        return void(socket->write("HTTP/1.1 404 Not Found\r\n"
                                                  "Content-Length: 0\r\n\r\n"));
                    hangs << socket;
                    socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n<title>Never "
                                  "finished</title><input id=\"pad\" name=\"pad\">" +
                                  QByteArray(4096, ' '));
                });
        });
        listen(QHostAddress::LocalHost);
    }
    QString address() const { return u"http://127.0.0.1:%1/hang"_s.arg(serverPort()); }
    qsizetype waiting() const
    {
        return std::count_if(hangs.cbegin(), hangs.cend(), [](const QPointer<QTcpSocket> &s) {
            return s && s->state() == QAbstractSocket::ConnectedState;
        });
    }
    QList<QPointer<QTcpSocket>> hangs;
};

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_w.reset(), m_site.reset(); }
    void valueReachesThePage_data();
    void valueReachesThePage();
    void autoFillAfterLoad_data();
    void autoFillAfterLoad();
    void pageMisbehaves_data();
    void pageMisbehaves();

private:
    QString label(const QString &name) { return m_w->fx.control<QLabel>(name)->text(); }
    QString pad() { return m_w->run(u"document.getElementById('pad').value"_s).toString(); }
    void openPage(bool byRefresh = false);

    std::unique_ptr<HangingSite> m_site;
    std::unique_ptr<WebWindow> m_w;
};

void TestBrowser::init()
{
    m_site = std::make_unique<HangingSite>(); // per row: it counts what it served
    m_w = std::make_unique<WebWindow>();
    m_w->window().setFieldText(Field::Company, 0, u"Tarvelo & Sons"_s);
    m_w->window().setFieldText(Field::PADURL, 0, u"https://example.org/pad/app.xml"_s);
}

// The test page opens (or comes again) as a fresh document with its PAD URL.
void TestBrowser::openPage(bool byRefresh)
{
    static int visit = 0; // a new address, a new document
    const qsizetype before = m_w->completions.size();
    QString address = m_w->browser.locationUrl();
    if (byRefresh)
        m_w->fx.control<QAbstractButton>(u"cmdRefresh"_s)->click();
    else
        m_w->openSite(
            address =
                QUrl::fromLocalFile(QStringLiteral(TARVELO_TEST_DATA "/web/page.html")).toString() +
                u"?visit=%1"_s.arg(++visit));
    // This page's own completion: one of the page before may still come first.
    QTRY_VERIFY_WITH_TIMEOUT(m_w->completions.size() > before, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_w->statusWhenDone.value(m_w->statusWhenDone.size() - 1),
                              u" Done - "_s + address, 20000);
    QVERIFY(byRefresh || m_w->browser.hasFocus()); // as the double-click left it
    QTRY_COMPARE(m_w->window().windowTitle(), u"Test page - Tarvelo"_s);
    QTRY_COMPARE(label(u"lblProgress"_s), QString());
    const QString padUrl = tidyValue(Field::PADURL, m_w->window().fieldText(Field::PADURL, 0));
    QTRY_COMPARE(pad(), padUrl.isEmpty() ? u"old"_s : padUrl);
    QCOMPARE(m_w->run(u"String(document.body.dataset.seen)"_s).toString(), u"undefined"_s);
    m_w->run(u"document.body.dataset.seen = 'yes'"_s);
}

void TestBrowser::valueReachesThePage_data()
{
    // value: what the page box ends up holding. An empty field leaves the
    // user's text (typed) there; the x typed after it shows that a keypad
    // digit would have come before.
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("status");
    QTest::newRow("field button") << u"cmdProgName"_s << name << QString();
    QTest::newRow("keypad 1") << u"1"_s << name << QString();
    QTest::newRow("menu entry 3") << u"mnuNew"_s << u"Tarvelo & Sons"_s << QString();
    QTest::newRow("empty by button") << u"cmdProgVer"_s << typed + u'x'
                                     << u" Nothing pasted: Program version of program 1 is empty"_s;
    QTest::newRow("fresh start: keypad 1 leaves no hint, no 1")
        << u"1"_s << typed + u'x' << u" Nothing pasted: Program name of program 1 is empty"_s;
}

void TestBrowser::valueReachesThePage()
{
    QFETCH(QString, route);
    QFETCH(QString, value);
    QFETCH(QString, status);
    if (status.isEmpty()) // else the window as it starts: no PAD file read
        m_w->window().setFieldText(Field::ProgName, 0, name);
    openPage();
    m_w->run(u"document.getElementById('name').value = '%1'"_s.arg(typed));
    QGuiApplication::clipboard()->setText(u"mine"_s);
    QWindow *window = m_w->window().windowHandle();
    // The menu opens inside a keypad tick and holds it until it closes: answer
    // it from within, once it shows; "3" is the company's access key.
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (QApplication::activePopupWidget() == m_w->fx.control<QMenu>(route))
            answer.stop(), QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_3);
    });
    // Keys as the platform sends them: to the window, each with a time of its own.
    const auto keypad = [&](QEvent::Type type) {
        static quint64 time = 1000;
        QKeyEvent event(type, Qt::Key_1, Qt::KeypadModifier, u"1"_s);
        event.setTimestamp(time += 40);
        QCoreApplication::sendEvent(window, &event);
    };
    const auto act = [&] {
        if (route.startsWith(u"cmd"))
            m_w->click(m_w->fx.control(route), QPoint(5, 5));
        else if (route == u"1")
            keypad(QEvent::KeyPress);
        else
            answer.start(20),
                QTest::mousePress(window, Qt::RightButton, {},
                                  m_w->browser.view()->mapTo(&m_w->window(), m_w->lastBox));
        if (!status.isEmpty())
            QTest::keyClick(window, Qt::Key_End), QTest::keyClick(window, Qt::Key_X);
    };
    QCOMPARE(m_w->inBox(u"name"_s, act, value), value);
    QTRY_VERIFY(m_w->browser.hasFocus()); // given back after the paste
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), u"mine"_s);
    if (!status.isEmpty())
        QCOMPARE(label(u"lblStatus"_s), status);
    if (route == u"1")
        keypad(QEvent::KeyRelease);
    if (route == u"mnuNew")
        QTest::mouseRelease(window, Qt::RightButton);
}

void TestBrowser::autoFillAfterLoad_data()
{
    QTest::addColumn<QString>("padUrl");
    const QString payload = u"document.title = 'hacked'; window.hacked = 1;"_s;
    QTest::newRow("empty: nothing written") << QString();
    QTest::newRow("double quotes") << u"\"); "_s + payload + u" (\""_s;
    QTest::newRow("single quotes") << u"'); "_s + payload + u" ('"_s;
    QTest::newRow("escaped quote") << u"\\\"); "_s + payload + u" //"_s;
    QTest::newRow("ends in backslash") << u"C:\\pad\\"_s;
    QTest::newRow("newline") << u"line\n\"); "_s + payload + u" //\n"_s;
    QTest::newRow("script end tag") << u"</script><script>"_s + payload + u"</script>"_s;
    QTest::newRow("U+2028 and U+2029") << u"\u2028\"); "_s + payload + u" //\u2029"_s;
    QTest::newRow("template") << u"`${"_s + payload + u"}`"_s;
    QTest::newRow("control characters, surrogate pair") << u"\u0001\u001f\u007f\U0001F600"_s;
    QTest::newRow("100 KB") << (u"\"); "_s + payload + u" //"_s).repeated(100 * 1024 / 50);
    QTest::newRow("a category of the list") << u"Utilities::File & Disk"_s;
}

void TestBrowser::autoFillAfterLoad()
{
    QFETCH(QString, padUrl);
    // The PAD URL is the category of the profile's file too; empty, it has none.
    QFile file(m_w->fx.dir.filePath(u"pad.xml"_s));
    const QString category = u"<Program_Category_Class>%1</Program_Category_Class>"_s;
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write(category.arg(padUrl.toHtmlEscaped()).toUtf8()) >= 0);
    file.close();
    m_w->window().localPadBox(0)->setText(file.fileName());
    m_w->fx.session->profiles().showNamedFile(0);
    m_w->window().setFieldText(Field::PADURL, 0, padUrl);
    openPage();
    if (padUrl.size() > 32767) // more than the box takes: straight to the fill
        m_w->browser.runIsolatedScript(AutoFillScript::build(padUrl));
    const QString tidy = padUrl.isEmpty() ? u"old"_s : tidyValue(Field::PADURL, padUrl);
    QTRY_COMPARE(m_w->run(u"document.getElementById('padfile').value"_s).toString(), tidy);
    if (padUrl.isEmpty()) { // a later load's end leaves what the user typed
        m_w->run(u"document.getElementById('pad').value = '%1'"_s.arg(typed));
        Q_EMIT m_w->browser.downloadComplete();
        QCOMPARE(pad(), typed);
    }
    QCOMPARE(m_w->run(u"document.title + typeof window.hacked"_s).toString(),
             u"Test pageundefined"_s);
    // The file's category is chosen in the list; any other text leaves it be.
    QCOMPARE(m_w->run(u"document.getElementById('padcat').selectedIndex"_s).toInt(),
             padUrl.startsWith(u"Utilities") ? 2 : 0);
}

void TestBrowser::pageMisbehaves_data()
{
    // first: "hang" a never-ending load, else the test page; then: a button
    // pressed, "kill" the page process, or an address that ends it.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("byRefresh");
    QTest::newRow("never-ending load, stop") << u"hang"_s << u"cmdStop"_s << false;
    QTest::newRow("never-ending load, next site") << u"hang"_s << QString() << false;
    QTest::newRow("never-ending load, home") << u"hang"_s << u"cmdHome"_s << false;
    QTest::newRow("killed while a page hangs") << u"hang"_s << u"kill"_s << false;
    QTest::newRow("killed, next site") << QString() << u"kill"_s << false;
    QTest::newRow("killed, refresh") << QString() << u"kill"_s << true;
    QTest::newRow("crash, next site") << QString() << u"chrome://crash"_s << false;
}

void TestBrowser::pageMisbehaves()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(bool, byRefresh);
    m_w->window().setFieldText(Field::ProgName, 0, name);
    QSignalSpy ended(m_w->browser.page(), &QWebEnginePage::renderProcessTerminated);
    const bool ends = then == u"kill" || then.startsWith(u"chrome:");
    if (first.isEmpty()) {
        openPage(); // the user is at work in a page
    } else {
        m_w->openSite(m_site->address()); // the head of the page comes, and the load goes on
        QTRY_COMPARE_WITH_TIMEOUT(m_w->window().windowTitle(), u"Never finished - Tarvelo"_s,
                                  20000);
        QTRY_VERIFY(!label(u"lblProgress"_s).isEmpty());
        QVERIFY(m_w->browser.hasFocus()); // the new page's widget did not take it away
        QCOMPARE(m_site->waiting(), 1);
    }
    const qsizetype before = m_w->completions.size();
    if (then == u"kill")
        QCOMPARE(::kill(pid_t(m_w->browser.page()->renderProcessPid()), SIGKILL), 0);
    else if (ends)
        m_w->browser.navigate(then);
    else if (!then.isEmpty())
        m_w->fx.control<QAbstractButton>(then)->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), ends ? 1 : 0, 20000);
    if (ends)
        QCOMPARE(ended[0][0].value<QWebEnginePage::RenderProcessTerminationStatus>(),
                 then == u"kill" ? QWebEnginePage::KilledTerminationStatus
                                 : QWebEnginePage::CrashedTerminationStatus);
    if (then == u"cmdHome") {
        QTRY_COMPARE_WITH_TIMEOUT(m_w->window().windowTitle(), u"First things first - Tarvelo"_s,
                                  20000);
        QTRY_VERIFY_WITH_TIMEOUT(m_w->statusWhenDone.value(m_w->statusWhenDone.size() - 1)
                                     .endsWith(u"/tempIndex.html"_s),
                                 20000);
    }
    if (first == u"hang" && (then == u"kill" || then == u"cmdStop")) {
        // The load ends where it stands, the fill runs on what came.
        QTRY_COMPARE(m_w->completions.size(), before + 1);
        QTRY_COMPARE(m_w->statusWhenDone.value(m_w->statusWhenDone.size() - 1),
                     u" Done - "_s + m_site->address());
        QTRY_COMPARE(label(u"lblProgress"_s), QString());
        QVERIFY(then == u"kill" || pad() == m_w->window().fieldText(Field::PADURL, 0));
    }
    openPage(byRefresh);
    QCOMPARE(
        m_w->inBox(
            u"name"_s, [&] { m_w->click(m_w->fx.control(u"cmdProgName"_s), QPoint(5, 5)); }, name),
        name);
    // The unfinished answer is given up and never asked for again.
    QTRY_COMPARE(m_site->waiting(), 0);
    QCOMPARE(m_site->hangs.size(), first.isEmpty() ? 0 : 1);
    QCOMPARE(ended.size(), ends ? 1 : 0);
}

QTEST_MAIN(TestBrowser)
#include "tst_browser.moc"
