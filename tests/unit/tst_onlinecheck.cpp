#include "LocalHttpServer.h"
#include "core/profiles/OnlineCheck.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTest>

#include <numeric>

using namespace Qt::StringLiterals;
using namespace tarvelo;

static QByteArray pad(const QByteArray &name, const QByteArray &version, const QByteArray &more)
{
    return "<XML_DIZ_INFO><Program_Name>" + name + "</Program_Name><Program_Version>" + version +
           "</Program_Version>" + more + "</XML_DIZ_INFO>";
}

// The canned answers, by path; a HEAD gets the same without the body.
static QByteArray answer(const QByteArray &method, const QByteArray &path)
{
    const auto ok = [](const QByteArray &body) {
        return "200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    };
    const QHash<QByteArray, QByteArray> answers = {
        {"/same.xml", ok(pad(" Tarvelo\r\n  Demo ", "1.2", {}))}, // spaced differently
        {"/other.xml", ok(pad("Other", "1.1", {}))},
        {"/page", ok("<html/>")},
        {"/huge.xml", "200 OK\r\nContent-Length: 16777217\r\n\r\n<XML_DIZ_INFO>"},
        {"/r1", "301 Moved Permanently\r\nLocation: /r2\r\nContent-Length: 0\r\n\r\n"},
        {"/r2", "302 Found\r\nLocation: /page\r\nContent-Length: 0\r\n\r\n"},
        {"/nohead", method == "HEAD" ? "405 Method Not Allowed\r\nContent-Length: 0\r\n\r\n"
                                     : "200 OK\r\nContent-Length: 1000000000\r\n\r\nMZ"}};
    if (path == "/silent")
        return {};
    const QByteArray all =
        "HTTP/1.1 " + answers.value(path, "404 Not Found\r\nContent-Length: 0\r\n\r\n");
    return method == "HEAD" ? all.left(all.indexOf("\r\n\r\n") + 4) : all;
}

class TestOnlineCheck : public QObject
{
    Q_OBJECT
    LocalHttpServer::Load m_load;
    LocalHttpServer m_server{answer, &m_load};
    QNetworkAccessManager m_network;
    QList<int> m_progress;

    // Runs a check to its end, or cancels it once four requests wait for an
    // answer; finished() must come exactly once either way.
    OnlineReport run(OnlineCheck::Local local, int timeoutMs, bool cancel = false)
    {
        OnlineCheck check(std::move(local), &m_network);
        check.setTimeout(timeoutMs);
        QList<OnlineReport> reports;
        connect(&check, &OnlineCheck::finished, this, [&](auto &report) { reports << report; });
        connect(&check, &OnlineCheck::progress, this, [&](int done) { m_progress << done; });
        m_progress.clear();
        check.start();
        if (cancel && QTest::qWaitFor([&] { return m_load.now >= 4; }))
            check.cancel(), check.cancel();
        if (!QTest::qWaitFor([&] { return !reports.isEmpty(); }, 15000) ||
            (QTest::qWait(20), reports.size() != 1 || check.isRunning()))
            qFatal("finished() did not come exactly once");
        return reports.first();
    }

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("line"); // a PAD URL line checks the PAD URL, else a download
        for (const auto &[name, address, line] :
             {std::tuple("same, tidied", "{base}/same.xml", "PAD URL: same program and version"),
              {"differs", "{base}/other.xml",
               "PAD URL: differs: program name (local Tarvelo Demo, online Other); version "
               "(local 1.2, online 1.1)"},
              {"PAD 404", "{base}/gone.xml", "PAD URL: cannot be reached: 404 Not Found"},
              {"not a PAD", "{base}/page", "PAD URL: cannot be reached: not a PAD file"},
              {"too large", "{base}/huge.xml",
               "PAD URL: cannot be reached: larger than 16 MB: not a PAD file"},
              {"refused", "http://127.0.0.1:1/", "PAD URL: cannot be reached: Connection refused"},
              {"PAD ftp", "ftp://127.0.0.1/a.xml", "PAD URL: cannot be reached: not a web address"},
              {"200", "{base}/page", "Download URL {url}: 200 OK"},
              {"404", "{base}/gone.zip", "Download URL {url}: 404 Not Found"},
              {"redirects", "{base}/r1",
               "Download URL {url}: 200 OK (redirected 2x to {base}/page)"},
              {"HEAD refused", "{base}/nohead", "Download URL {url}: 200 OK"},
              {"no answer", "{base}/silent", "Download URL {url}: no answer within 0.8 s"},
              {"no scheme", "127.0.0.1/a.zip", "Download URL {url}: not a web address"},
              {"empty", "", "Download URL (empty): not a web address"}})
            QTest::newRow(name) << QString::fromUtf8(address) << QString::fromUtf8(line);
    }
    void answers()
    {
        QFETCH(QString, address);
        QFETCH(QString, line);
        address.replace(u"{base}"_s, m_server.url(""));
        const QString tag =
            line.startsWith(u"PAD") ? u"Application_XML_File_URL"_s : u"Primary_Download_URL"_s;
        const auto local = PadReader::fromBytes(
            pad("Tarvelo Demo", " 1.2\r\n", u"<%1>%2</%1>"_s.arg(tag, address).toUtf8()));
        QElapsedTimer clock;
        clock.start();
        // Only the silent server waits for the timeout; any other row that
        // comes near it has fetched more than the headers.
        const bool silent = address.endsWith(u"/silent");
        const QStringList lines =
            run(OnlineCheck::Local::fromPad(local), silent ? 800 : 8000).lines();
        line.replace(u"{url}"_s, address).replace(u"{base}"_s, m_server.url(""));
        QVERIFY2(lines.size() == 5 && lines.contains(line), qPrintable(lines.join(u'\n')));
        // A download is not fetched whole: its status comes with the headers.
        QVERIFY(clock.elapsed() < 6000 || silent);
    }

    void atMostEightAtOnce()
    {
        // Four servers: the manager's own limit of six connections per server
        // must not be what keeps the count down.
        LocalHttpServer::Load load;
        std::vector<std::unique_ptr<LocalHttpServer>> servers;
        OnlineCheck::Local local;
        for (int k = 0; k < 20; ++k) {
            if (k < 4)
                servers.push_back(std::make_unique<LocalHttpServer>(answer, &load, 100));
            local.addresses.append({Field::ProgURL, servers[k % 4]->url("/page")});
        }
        QCOMPARE(run(local, 2000).lines().filter(u": 200 OK"_s).size(), 20);
        QCOMPARE(load.most, 8);
        QList<int> steps(21); // the PAD URL, not a web address, is done at once
        std::iota(steps.begin(), steps.end(), 1);
        QCOMPARE(m_progress, steps);
    }

    void cancelMidway()
    {
        OnlineCheck::Local local{{}, {}, m_server.url("/silent"), {}};
        for (int k = 0; k < 10; ++k)
            local.addresses.append({Field::ProgIcon, m_server.url("/silent")});
        const OnlineReport report = run(local, OnlineCheck::DefaultTimeoutMs, true);
        QVERIFY(report.cancelled);
        QCOMPARE(report.lines().filter(u": not checked"_s).size(), 11);
        QTRY_COMPARE(m_load.now, 0); // every request in flight hung up
    }
};

QTEST_GUILESS_MAIN(TestOnlineCheck)
#include "tst_onlinecheck.moc"
