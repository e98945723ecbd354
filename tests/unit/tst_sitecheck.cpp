#include "LocalHttpServer.h"
#include "core/campaign/SiteCheck.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <numeric>

using namespace Qt::StringLiterals;
using namespace tarvelo;

// The canned answers, by path; a HEAD gets the same without the body.
static QByteArray answer(const QByteArray &method, const QByteArray &path)
{
    const auto moved = [](const QByteArray &to) {
        return "301 Moved Permanently\r\nLocation: " + to + "\r\nContent-Length: 0\r\n\r\n";
    };
    const auto empty = [](const QByteArray &status) {
        return status + "\r\nContent-Length: 0\r\n\r\n";
    };
    const QHash<QByteArray, QByteArray> answers = {
        {"/page", "200 OK\r\nContent-Length: 7\r\n\r\n<html/>"},
        {"/r1", moved("/r2")},
        {"/r2", "302 Found\r\nLocation: /page\r\nContent-Length: 0\r\n\r\n"},
        {"/r3", moved("/gone")},
        {"/loop", moved("/loop2")},
        {"/loop2", moved("/loop")},
        {"/login", empty("401 Unauthorized")},
        {"/broken", empty("500 Internal Server Error")},
        // The GET's body never ends: only a check that stops at the headers is done in time.
        {"/nohead", method == "HEAD" ? empty("405 Method Not Allowed")
                                     : "200 OK\r\nContent-Length: 1000000000\r\n\r\nMZ"},
        {"/nohead-gone", empty(method == "HEAD" ? "501 Not Implemented" : "404 Not Found")}};
    if (path == "/silent")
        return {};
    QByteArray all = "HTTP/1.1 " + answers.value(path, empty("404 Not Found"));
    if (path.startsWith("/hop/")) { // /hop/N is N redirects away from /page
        const int n = path.mid(5).toInt();
        all = "HTTP/1.1 " + moved(n > 1 ? "/hop/" + QByteArray::number(n - 1) : "/page");
    }
    return method == "HEAD" ? all.left(all.indexOf("\r\n\r\n") + 4) : all;
}

class TestSiteCheck : public QObject
{
    Q_OBJECT
    LocalHttpServer::Load m_load;
    LocalHttpServer m_server{answer, &m_load};
    QNetworkAccessManager m_network;

    struct Run
    {
        QList<std::pair<qint64, CheckRecord>> checked;
        QList<int> progress;
    };

    // Runs a check of the sites to its end.
    Run run(const QList<SiteCheck::Site> &sites, int timeoutMs)
    {
        SiteCheck check(&m_network);
        check.setTimeout(timeoutMs);
        Run result;
        connect(&check, &SiteCheck::siteChecked, this, [&](qint64 id, const CheckRecord &record) {
            result.checked.append({id, record});
        });
        connect(&check, &SiteCheck::progress, this, [&](int done) { result.progress << done; });
        QSignalSpy finished(&check, &SiteCheck::finished);
        check.start(sites);
        if (!QTest::qWaitFor([&] { return !finished.isEmpty(); }, 20'000) || finished.size() != 1 ||
            finished.first().first().toBool() || check.isRunning())
            qFatal("finished(false) did not come once");
        return result;
    }

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        for (const auto &[name, address, ok, result] :
             {std::tuple("200", "{base}/page", true, "200 OK"),
              {"301, 302, 200", "{base}/r1", true, "moved to {base}/page"},
              {"301, 404", "{base}/r3", false, "moved to {base}/gone: 404 Not Found"},
              {"10 redirects", "{base}/hop/10", true, "moved to {base}/page"},
              {"11 redirects", "{base}/hop/11", false, "more than 10 redirects"},
              {"redirect loop", "{base}/loop", false, "redirect loop back to {base}/loop"},
              {"405 to HEAD, GET 200", "{base}/nohead", true, "200 OK"},
              {"501 to HEAD, GET 404", "{base}/nohead-gone", false, "404 Not Found"},
              {"401", "{base}/login", true, "401 Unauthorized"},
              {"500", "{base}/broken", false, "500 Internal Server Error"},
              {"never answers", "{base}/silent", false, "timed out after 0.5 s"},
              {"refused", "http://127.0.0.1:1/", false, "connection refused"},
              {"no scheme", "127.0.0.1/page", false, "not an http or https address"}})
            QTest::newRow(name) << QString::fromUtf8(address) << ok << QString::fromUtf8(result);
    }
    void answers()
    {
        QFETCH(QString, address);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        address.replace(u"{base}"_s, m_server.url(""));
        result.replace(u"{base}"_s, m_server.url(""));
        const int timeoutMs = address.endsWith(u"/silent") ? 500 : 5000;
        const QDateTime before = QDateTime::currentDateTimeUtc();
        const Run done = run({{7, address}}, timeoutMs);
        QCOMPARE(done.checked.size(), 1);
        const auto &[id, record] = done.checked.first();
        QCOMPARE(id, 7);
        QCOMPARE(record.result, result);
        QCOMPARE(record.ok, ok);
        QVERIFY(record.at >= before && record.at.timeSpec() == Qt::UTC);
    }

    void namesItself()
    {
        run({{1, m_server.url("/page")}}, 5000);
        QVERIFY2(m_server.lastHead.contains("\r\nUser-Agent: Tarvelo"), m_server.lastHead);
    }

    void timeoutCoversRedirects()
    {
        // Each answer comes in time; the three of /r1 together do not.
        LocalHttpServer::Load load;
        LocalHttpServer slow(answer, &load, 300);
        const Run done = run({{1, slow.url("/r1")}}, 700);
        QCOMPARE(done.checked.value(0).second.result, u"timed out after 0.7 s"_s);
    }

    void atMostEightAtOnce()
    {
        // Four servers, so the manager's limit of six per server is not what caps it.
        LocalHttpServer::Load load;
        std::vector<std::unique_ptr<LocalHttpServer>> servers;
        QList<SiteCheck::Site> sites;
        for (int k = 0; k < 20; ++k) {
            if (k < 4)
                servers.push_back(std::make_unique<LocalHttpServer>(answer, &load, 100));
            sites.append({k, servers[k % 4]->url("/page")});
        }
        const Run done = run(sites, 5000);
        QCOMPARE(std::count_if(done.checked.cbegin(), done.checked.cend(),
                               [](const auto &site) { return site.second.ok; }),
                 20);
        QCOMPARE(load.most, 8);
        QList<int> steps(21);
        std::iota(steps.begin(), steps.end(), 0);
        QCOMPARE(done.progress, steps);
    }

    void cancelMidway()
    {
        // Two servers, so that eight can wait at once (six at most on one).
        LocalHttpServer::Load load;
        LocalHttpServer one(answer, &load), other(answer, &load);
        QList<SiteCheck::Site> sites = {{1, one.url("/page")}, {2, other.url("/gone")}};
        for (int k = 3; k <= 12; ++k)
            sites.append({k, (k % 2 ? one : other).url("/silent")});
        SiteCheck check(&m_network);
        QSignalSpy checked(&check, &SiteCheck::siteChecked);
        QSignalSpy finished(&check, &SiteCheck::finished);
        check.start(sites);
        QTRY_VERIFY(checked.size() == 2 && load.now == 8);
        check.cancel();
        check.cancel();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!check.isRunning());
        QTRY_COMPARE(load.now, 0); // every request in flight hung up
        QCOMPARE(checked.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSiteCheck)
#include "tst_sitecheck.moc"
