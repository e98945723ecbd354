#include "browser/SiteDirectory.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using tarvelo::SiteDirectory;
using tarvelo::siteOrderLess;

namespace {

// The list as it ships: the source of the resource compiled into the program.
QString shippedList()
{
    return QStringLiteral(TARVELO_TEST_DATA "/../../resources/sites.txt");
}

} // namespace

class TestSiteDirectory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shippedListLoads();
    void shippedEntryForm_data();
    void shippedEntryForm();
    void shippedListIsInOrder();
    void shippedFileHasOneAddressALine();
    void orderRule_data();
    void orderRule();
    void parse_data();
    void parse();
    void missingFileGivesNothing();
};

void TestSiteDirectory::shippedListLoads()
{
    const QStringList sites = SiteDirectory::load(shippedList());
    QVERIFY2(sites.size() >= 20, qPrintable(QString::number(sites.size())));
}

void TestSiteDirectory::shippedEntryForm_data()
{
    QTest::addColumn<QString>("address");
    const QStringList sites = SiteDirectory::load(shippedList());
    for (const QString &site : sites)
        QTest::newRow(qPrintable(site)) << site;
}

void TestSiteDirectory::shippedEntryForm()
{
    QFETCH(QString, address);

    QVERIFY(address.startsWith(u"http://"_s) || address.startsWith(u"https://"_s));
    QVERIFY2(address.size() >= 20 && address.size() <= 102,
             qPrintable(QString::number(address.size())));
    for (const QChar c : address)
        QVERIFY2(c.unicode() > 0x20 && c.unicode() < 0x7f, "printable ASCII, no blanks");

    const QUrl url(address, QUrl::StrictMode);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QVERIFY(!url.isRelative());
    QVERIFY(!url.host().isEmpty());
    QVERIFY2(url.host().contains(u'.'), "a host name, not a bare word");
    QVERIFY(!url.path().isEmpty()); // at least "/"
}

void TestSiteDirectory::shippedListIsInOrder()
{
    const QStringList sites = SiteDirectory::load(shippedList());
    for (qsizetype i = 1; i < sites.size(); ++i)
        QVERIFY2(!siteOrderLess(sites.at(i), sites.at(i - 1)),
                 qPrintable(sites.at(i - 1) + u" before "_s + sites.at(i)));
}

void TestSiteDirectory::shippedFileHasOneAddressALine()
{
    QFile file(shippedList());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(!text.contains('\r'));
    QVERIFY(text.endsWith('\n'));
    const QList<QByteArray> lines = text.chopped(1).split('\n');
    QCOMPARE(lines.size(), SiteDirectory::parse(text).size()); // no blank or padded lines
    for (const QByteArray &line : lines)
        QCOMPARE(line, line.trimmed());
}

void TestSiteDirectory::orderRule_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("aBeforeB");
    QTest::addColumn<bool>("bBeforeA");

    QTest::newRow("plain") << u"http://a.com/"_s << u"http://b.com/"_s << true << false;
    QTest::newRow("case ignored") << u"http://Bee.com/"_s << u"http://ant.com/"_s << false << true;
    QTest::newRow("case only: neither first")
        << u"http://A.com/"_s << u"http://a.com/"_s << false << false;
    QTest::newRow("hyphen not counted")
        << u"http://e-fresh.com/"_s << u"http://ed.com/"_s << false << true;
    QTest::newRow("hyphen not counted, other side")
        << u"http://ea.com/"_s << u"http://e-fresh.com/"_s << true << false;
    QTest::newRow("hyphen only: neither first")
        << u"http://e-f.com/"_s << u"http://ef.com/"_s << false << false;
    QTest::newRow("prefix first") << u"http://soft.com/"_s << u"http://softa.com/"_s << true
                                  << false;
    QTest::newRow("dot before letter")
        << u"http://softdir.eu/"_s << u"http://softdirectory.info/"_s << true << false;
    QTest::newRow("http before https")
        << u"http://zzz.com/"_s << u"https://aaa.com/"_s << true << false;
    QTest::newRow("same") << u"http://a.com/"_s << u"http://a.com/"_s << false << false;
}

void TestSiteDirectory::orderRule()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, aBeforeB);
    QFETCH(bool, bBeforeA);
    QCOMPARE(siteOrderLess(a, b), aBeforeB);
    QCOMPARE(siteOrderLess(b, a), bBeforeA);
}

void TestSiteDirectory::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("sites");

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("one, no final line end")
        << QByteArray("http://a.com/") << QStringList{u"http://a.com/"_s};
    QTest::newRow("order kept") << QByteArray("http://b.com/\nhttp://a.com/\n")
                                << QStringList{u"http://b.com/"_s, u"http://a.com/"_s};
    QTest::newRow("CR LF") << QByteArray("http://a.com/\r\nhttp://b.com/\r\n")
                           << QStringList{u"http://a.com/"_s, u"http://b.com/"_s};
    QTest::newRow("blank lines and padding")
        << QByteArray("\n  http://a.com/ \n\n\t\n") << QStringList{u"http://a.com/"_s};
    QTest::newRow("duplicates kept") << QByteArray("http://a.com/\nhttp://a.com/\n")
                                     << QStringList{u"http://a.com/"_s, u"http://a.com/"_s};
}

void TestSiteDirectory::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, sites);
    QCOMPARE(SiteDirectory::parse(text), sites);
}

void TestSiteDirectory::missingFileGivesNothing()
{
    QVERIFY(SiteDirectory::load(QStringLiteral(TARVELO_TEST_DATA "/no-such-list.txt")).isEmpty());
}

QTEST_GUILESS_MAIN(TestSiteDirectory)
#include "tst_sitedirectory.moc"
