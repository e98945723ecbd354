// When two addresses are the same site, and why an address is no site.
#include "core/campaign/SiteAddress.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestSiteAddress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void key_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("key");
        const auto row = [](const char *name, const QString &address, const QString &key) {
            QTest::newRow(name) << address << key;
        };
        const QString plain = u"http://example.com"_s;
        row("scheme and host case", u"HTTP://Example.COM"_s, plain);
        row("trailing slash", u"http://example.com/"_s, plain);
        row("spaces around", u"  http://example.com/ \t"_s, plain);
        row("default http port", u"http://example.com:80/"_s, plain);
        row("default https port", u"https://example.com:443/submit/"_s,
            u"https://example.com/submit"_s);
        row("other port stays", u"http://example.com:8080"_s, u"http://example.com:8080"_s);
        row("https port on http stays", u"http://example.com:443"_s, u"http://example.com:443"_s);
        row("fragment dropped", u"http://example.com/add#form"_s, u"http://example.com/add"_s);
        row("path case stays", u"http://example.com/Add/"_s, u"http://example.com/Add"_s);
        row("query stays", u"http://example.com/add/?cat=2"_s, u"http://example.com/add?cat=2"_s);
        row("encoded slash stays", u"http://example.com/a%2Fb"_s, u"http://example.com/a%2Fb"_s);
        row("IDN host", u"http://B\u00fccher.example/"_s, u"http://xn--bcher-kva.example"_s);
    }
    void key()
    {
        QFETCH(QString, address);
        QFETCH(QString, key);
        QCOMPARE(SiteAddress::key(address), key);
    }

    void problem_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("problem");
        const auto row = [](const char *name, const QString &address, const QString &problem) {
            QTest::newRow(name) << address << problem;
        };
        row("http", u"http://example.com/add"_s, QString());
        row("empty", u"  "_s, u"no address"_s);
        row("javascript", u"javascript:alert(1)"_s,
            u"only http and https addresses are sites, not javascript"_s);
        row("JavaScript upper case", u"JavaScript:alert(1)"_s,
            u"only http and https addresses are sites, not javascript"_s);
        row("ftp", u"ftp://ftp.example.com/"_s,
            u"only http and https addresses are sites, not ftp"_s);
        row("no scheme", u"example.com/add"_s, u"no http:// or https:// in front"_s);
        row("host and port", u"localhost:8080"_s, u"no http:// or https:// in front"_s);
        row("no host", u"http:///add"_s, u"no host name"_s);
        row("no slashes", u"http:example.com"_s, u"no host name"_s);
        row("space in host", u"http://exa mple.com"_s, u"not a valid address"_s);
        row("bad port", u"http://example.com:99999"_s, u"not a valid address"_s);
    }
    void problem()
    {
        QFETCH(QString, address);
        QFETCH(QString, problem);
        QCOMPARE(SiteAddress::problem(address), problem);
        QCOMPARE(SiteAddress::key(address).isEmpty(), !problem.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSiteAddress)
#include "tst_siteaddress.moc"
