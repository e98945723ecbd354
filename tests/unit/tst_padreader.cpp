#include "core/profiles/PadReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes, qint64 size = -1)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() &&
           (size < 0 || f.resize(size)); // sparse: takes no disk space
}

int openDescriptorCount()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::System).size());
}

} // namespace

class TestPadReader : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatIsNotAReadableFile_data();
    void refusesWhatIsNotAReadableFile();
    void valuesForTheFormFill_data();
    void valuesForTheFormFill();

private:
    QTemporaryDir m_dir;
};

void TestPadReader::refusesWhatIsNotAReadableFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("reads"); // and finds the program name Foo
    const QString dir = m_dir.path() + u'/', pad = dir + u"pad.xml"_s;
    const QByteArray foo = "<Program_Name>Foo</Program_Name>";
    QVERIFY(writeFile(pad, foo));
    const auto refused = [](const char *name, const QString &path) {
        QTest::newRow(name) << path << false;
    };
    refused("empty path", QString());
    refused("no such file", dir + u"missing.xml"_s);
    refused("folder", dir);
    refused("file used as folder", pad + u"/x.xml"_s);
    refused("NUL after a real file", pad + QChar(0) + u"x"_s);
    refused("line breaks", u"\n/tmp\r\n/pad.xml\n"_s);
    refused("5000 characters of folders", u"/a"_s.repeated(2500));
    refused("/dev/zero", u"/dev/zero"_s);
    QVERIFY(::mkfifo(QFile::encodeName(dir + u"pipe.xml"_s).constData(), 0600) == 0);
    refused("fifo without writer", dir + u"pipe.xml"_s);
    QVERIFY(QFile::link(dir + u"pipe.xml"_s, dir + u"pipe-link.xml"_s));
    refused("link to a fifo", dir + u"pipe-link.xml"_s);
    QVERIFY(writeFile(dir + u"over.xml"_s, foo, PadReader::MaxFileSize + 1));
    refused("one byte over the limit", dir + u"over.xml"_s);
    QVERIFY(writeFile(dir + u"at-limit.xml"_s, foo, PadReader::MaxFileSize));
    QTest::newRow("at the limit") << dir + u"at-limit.xml"_s << true;
}

void TestPadReader::refusesWhatIsNotAReadableFile()
{
    QFETCH(QString, path);
    QFETCH(bool, reads);
    const int descriptorsBefore = openDescriptorCount();
    QElapsedTimer timer;
    timer.start();
    const auto pad = PadReader::read(path);
    QVERIFY2(timer.elapsed() < 1000, qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
    QCOMPARE(pad.has_value(), reads);
    if (reads)
        QCOMPARE(pad->value(Field::ProgName), u"Foo"_s);
    QCOMPARE(openDescriptorCount(), descriptorsBefore);
}

void TestPadReader::valuesForTheFormFill_data()
{
    QTest::addColumn<QByteArray>("pad");
    QTest::addColumn<int>("extra");
    QTest::addColumn<QString>("value");
    const QByteArray date = "<Program_Release_Year>2024</Program_Release_Year>"
                            "<Program_Release_Month>5</Program_Release_Month>";
    const auto row = [](const char *name, const QByteArray &pad, ExtraValue extra,
                        const QString &value) {
        QTest::newRow(name) << pad << int(extra) << value;
    };
    row("date, digits padded", date + "<Program_Release_Day>7</Program_Release_Day>",
        ExtraValue::ReleaseDate, QStringLiteral("2024-05-07"));
    row("date without its day", date, ExtraValue::ReleaseDate, QString());
    row("date with a word for a day", date + "<Program_Release_Day>soon</Program_Release_Day>",
        ExtraValue::ReleaseDate, QString());
    row("date with a day of 0", date + "<Program_Release_Day>0</Program_Release_Day>",
        ExtraValue::ReleaseDate, QString());
    row("price, tidied", "<Program_Cost_Dollars>\n  19.95 </Program_Cost_Dollars>",
        ExtraValue::Price, QStringLiteral("19.95"));
    row("licence type", "<Program_Type>Shareware</Program_Type>", ExtraValue::LicenceType,
        QStringLiteral("Shareware"));
    row("last name",
        "<Author_First_Name>Ada</Author_First_Name><Author_Last_Name>Lovelace"
        "</Author_Last_Name>",
        ExtraValue::AuthorLastName, QStringLiteral("Lovelace"));
}

void TestPadReader::valuesForTheFormFill()
{
    QFETCH(QByteArray, pad);
    QFETCH(int, extra);
    QFETCH(QString, value);
    const QByteArray file = "<XML_DIZ_INFO>" + pad + "</XML_DIZ_INFO>";
    QCOMPARE(PadReader::fromBytes(file).extraValue(ExtraValue(extra)), value);
}

QTEST_GUILESS_MAIN(TestPadReader)
#include "tst_padreader.moc"
