// Site lists from text and CSV files: what is taken, what is reported with its
// line, hostile files, and export read back.
#include "core/campaign/SiteListFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

using Format = SiteListFile::Format;
using Problems = QList<SiteListProblem>;

Q_DECLARE_METATYPE(SiteListFile::Format)

namespace {

QList<SiteEntry> sites(const QStringList &addresses)
{
    QList<SiteEntry> entries;
    for (const QString &address : addresses)
        entries.append({address, {}, {}});
    return entries;
}

const QString notText = u"not a text file: a site list is plain text in UTF-8"_s;

} // namespace

class TestSiteListFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<SiteEntry>>("entries");
        QTest::addColumn<Problems>("problems");
        const auto row = [](Format format) {
            return [format](const char *name, const QByteArray &bytes,
                            const QList<SiteEntry> &entries, const Problems &problems) {
                QTest::newRow(name) << format << bytes << entries << problems;
            };
        };
        const auto text = row(Format::Text), csv = row(Format::Csv);
        const QString a = u"http://a.example/add"_s;
        const QString b = u"https://b.example"_s;

        text("comments and blanks",
             "# my sites\n\nhttp://a.example/add\n  \n  # more\nhttps://b.example\n", sites({a, b}),
             {});
        text("CRLF and BOM", "\xEF\xBB\xBFhttp://a.example/add\r\nhttps://b.example\r\n",
             sites({a, b}), {});
        text("lone CR", "http://a.example/add\rhttps://b.example", sites({a, b}), {});
        text("bad lines keep their numbers",
             "javascript:alert(1)\nhttp://a.example/add\n\nwww.b.example\n", sites({a}),
             {{1, u"only http and https addresses are sites, not javascript"_s},
              {4, u"no http:// or https:// in front"_s}});
        text("same site",
             "http://a.example/add\n\nHTTP://A.example:80/add/\nhttp://a.example/add#x\n",
             sites({a}), {{3, u"same site as line 1"_s}, {4, u"same site as line 1"_s}});
        text("very long address", "http://a.example/" + QByteArray(3000, 'x') + "\n", {},
             {{1, u"an address longer than 2048 characters"_s}});
        text("NUL byte", "http://a.example/add\n\0\n"_ba, {}, {{0, notText}});
        text("invalid UTF-8", "http://a.example/add\n\xC3\x28\n", {}, {{0, notText}});

        csv("header, names and notes",
            "URL,Name,Note\nhttp://a.example/add, A ,first\nhttps://b.example\n",
            {{a, u"A"_s, u"first"_s}, {b, {}, {}}}, {});
        csv("no header", "http://a.example/add,A\n", {{a, u"A"_s, {}}}, {});
        csv("header only first", "url\nurl\n", {}, {{2, u"no http:// or https:// in front"_s}});
        csv("quoted fields", "\"http://a.example/add\",\"A, \"\"the\"\" one\",\" kept \"\n",
            {{a, u"A, \"the\" one"_s, u" kept "_s}}, {});
        csv("newline in quotes moves the line",
            "http://a.example/add,\"two\r\nlines\",x\nftp://c.example\nhttps://b.example\n",
            {{a, u"two\r\nlines"_s, u"x"_s}, {b, {}, {}}},
            {{3, u"only http and https addresses are sites, not ftp"_s}});
        csv("too many fields", "http://a.example/add,A,n,extra\nhttps://b.example,,,\n", {},
            {{1, u"more than 3 fields"_s}, {2, u"more than 3 fields"_s}});
        csv("blank records", "\n,,\n  \nhttp://a.example/add\n", sites({a}), {});
        csv("no address", ",A name\n", {}, {{1, u"no address"_s}});
        csv("text after closing quote", "\"http://a.example/add\"x,A\nhttps://b.example\n",
            sites({b}), {{1, u"text after a closing quote"_s}});
        csv("unterminated quote", "https://b.example\n\"http://a.example/add,A\nhttp://c.example\n",
            sites({b}), {{2, u"unterminated quote (the rest of the file was not read)"_s}});
    }
    void parse()
    {
        QFETCH(Format, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<SiteEntry>, entries);
        QFETCH(Problems, problems);
        const SiteListFile::Import import = SiteListFile::parse(bytes, format);
        QCOMPARE(import.problems, problems);
        QCOMPARE(import.entries, entries);
    }

    void csvRoundTrip()
    {
        const QList<SiteEntry> entries{
            {u"http://a.example/add?x=1,2"_s, u"A, B"_s, u"say \"hi\""_s},
            {u"https://b.example"_s, u" padded "_s, u"two\nlines\r\n"_s},
            {u"https://c.example"_s, {}, u"# not a comment"_s}};
        QTemporaryDir dir;
        const QString path = dir.filePath(u"sites.CSV"_s);
        QString error;
        QVERIFY2(SiteListFile::write(path, entries, &error), qPrintable(error));
        const SiteListFile::Import import = SiteListFile::read(path);
        QCOMPARE(import.problems, Problems());
        QCOMPARE(import.entries, entries);
    }

    void csvExportIsRfc4180()
    {
        const QByteArray bytes =
            SiteListFile::toBytes({{u"http://a.example"_s, u"A \"1\""_s, {}}}, Format::Csv);
        QCOMPARE(bytes, "url,name,note\r\nhttp://a.example,\"A \"\"1\"\"\",\r\n"_ba);
    }

    void writeError()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"missing/sites.txt"_s);
        QString error;
        QVERIFY(!SiteListFile::write(path, sites({u"http://a.example"_s}), &error));
        QVERIFY2(error.startsWith(u"cannot write "_s + path), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }

    void refusedFiles()
    {
        QTemporaryDir dir;
        QFile large(dir.filePath(u"large.txt"_s));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(50 * 1024 * 1024)); // sparse: no 50 MB written
        large.close();
        const Problems tooLarge{{0, u"the file is larger than 20 MB, too large for a site list"_s}};
        QCOMPARE(SiteListFile::read(large.fileName()).problems, tooLarge);
        QCOMPARE(SiteListFile::read(u"/dev/zero"_s).problems, tooLarge);
        const Problems missing = SiteListFile::read(dir.filePath(u"none.csv"_s)).problems;
        QCOMPARE(missing.size(), 1);
        QVERIFY(missing[0].line == 0 && missing[0].reason.startsWith(u"cannot read the file: "_s));
    }

    void hundredThousandLines()
    {
        QByteArray bytes = "url,name,note\r\n";
        for (int i = 0; i < 100000; ++i)
            bytes += "https://site" + QByteArray::number(i) + ".example/submit/,Site " +
                     QByteArray::number(i) + ",\r\n";
        bytes += "https://SITE7.example/submit\r\n";
        const SiteListFile::Import import = SiteListFile::parse(bytes, Format::Csv);
        QCOMPARE(import.entries.size(), 100000);
        QCOMPARE(import.problems, Problems({{100002, u"same site as line 9"_s}}));
    }
};

QTEST_GUILESS_MAIN(TestSiteListFile)
#include "tst_sitelistfile.moc"
