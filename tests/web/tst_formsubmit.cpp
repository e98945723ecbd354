// Only a form sent from the directory's own page marks the site submitted.
#include "../unit/LocalHttpServer.h"
#include "WebWindow.h"
#include "gui/sites/CampaignPanel.h"

#include <QListWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QByteArray answer(const QByteArray &path)
{
    QByteArray body = path;
    if (path == "/submit")
        body = "<form method=post action=/thanks><input name=name value=Prog>"
               "<button id=send>Send</button></form><a id=link href=/about>About</a>"
               "<iframe src=/frame></iframe>";
    if (path == "/frame")
        body = "<form method=post action=/framed><button id=send>Search</button></form>";
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

class TestFormSubmit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formOnTheSitesPage_data();
    void formOnTheSitesPage();
};

void TestFormSubmit::formOnTheSitesPage_data()
{
    QTest::addColumn<QString>("click"); // a script run in the page
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("submitted");
    QTest::newRow("the page's form")
        << u"document.getElementById('send').click()"_s << QByteArray("/thanks") << true;
    QTest::newRow("a form in a frame")
        << u"document.querySelector('iframe').contentDocument.getElementById('send').click()"_s
        << QByteArray("/framed") << false;
    QTest::newRow("a link") << u"document.getElementById('link').click()"_s << QByteArray("/about")
                            << false;
}

void TestFormSubmit::formOnTheSitesPage()
{
    QFETCH(QString, click);
    QFETCH(QByteArray, request);
    QFETCH(bool, submitted);
    QByteArrayList requests;
    LocalHttpServer::Load load;
    LocalHttpServer server(
        [&](const QByteArray &, const QByteArray &path) {
            requests << path;
            return answer(path);
        },
        &load);
    WebWindow w;
    CampaignPanel &campaign = w.fx.session->campaign();
    const QString address = server.url("/submit");
    const std::optional<qint64> site = campaign.addSite({address, {}, {}});
    QVERIFY(site);
    w.window().setFieldText(Field::ProgName, 0, u"Prog"_s);
    w.window().setFieldText(Field::ProgVer, 0, u"4.0"_s);

    auto *list = w.fx.control<QListWidget>(u"lstSites"_s);
    QListWidgetItem *item = list->findItems(address, Qt::MatchExactly).value(0);
    QVERIFY(item);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTRY_VERIFY2_WITH_TIMEOUT(requests.contains("/frame") && w.completions.size() >= 1,
                              requests.join(' ').constData(), 20000);
    QCOMPARE(w.run(u"document.readyState"_s).toString(), u"complete"_s);

    w.run(click);
    QTRY_VERIFY_WITH_TIMEOUT(requests.contains(request), 20000);
    const StateRecord state = campaign.stateOf(*site);
    QCOMPARE(state.state, submitted ? SiteState::Submitted : SiteState::Todo);
    QCOMPARE(state.version, submitted ? u"4.0"_s : QString());
    QCOMPARE(w.window().undoButton()->isVisibleTo(&w.window()), submitted);
}

QTEST_MAIN(TestFormSubmit)
#include "tst_formsubmit.moc"
