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

const QString padDir = QStringLiteral(TARVELO_TEST_DATA "/pad/");

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

// Program name and version of each real PAD file, as a reader of the file sees them.
struct RealFile
{
    const char *file;
    const char *name;
    const char *version;
};
// clang-format off
const RealFile realFileTable[] = {
    {"antiprism.xml", "Antiprism", "0.23"}, {"anystatus.xml", "AnyStatus", "2.6"},
    {"automute.xml", "Auto Mute", "4.5"}, {"binjs-early.xml", "binjs", "0.8"},
    {"brlcad.xml", "BRL-CAD", "7.12.6"}, {"carddavcleaner-nocd45.xml", "CardDavCleaner", "1.2"},
    {"cmdlinehere.xml", "Cmd Line Here", "1.0"}, {"digicamcontrol.xml", "digiCamControl", " 1.0.0"},
    {"diwacs.xml", "DiWaCS", "0.9.3.3"}, {"djon.xml", "d-jon", "1.1.201011110"},
    {"drawamountain.xml", "Draw-A-Mountain", "1.1"}, {"dvdstyler.xml", "DVDStyler", "3.0.3"},
    {"dumphex-cp1252-raw.xml", "DumpHex", "1.0.1"}, {"dumphex-cp1252.xml", "DumpHex", "1.0.1"},
    {"emphasize.xml", "Emphasize", "next"}, {"finalcrypt.xml", "FinalCrypt", "5.1.1"},
    {"etk-imagecompressor.xml", "ETK Image Compressor Pro", "1.3"},
    {"getxbook.xml", "getxbook", "1.0"}, {"gislook.xml", "GISLook & GISMeta", "1.0.2"},
    {"goalaid.xml", "GoalAid", "1.0"},
    {"gpgtools-installer.xml", "GPGTools - Installer", "2011.02.14"},
    {"jogoverein.xml", "JoGoVEREIN", "4.0.1"}, {"jucevlc.xml", "JuceVLC", "0.4"},
    {"librecrypt.xml", "LibreCrypt", "6.2.0.0"}, {"memoryrestart.xml", "Memory Restart", "1.14"},
    {"metamorphose.xml", "M\xc3\xa9tamorphose File -n- Folder Renamer", "1.1.2"},
    {"mysqlfront-template.xml", "", "{BuildVerStr}"}, {"parara.xml", "Parara", "1.0.0"},
    {"qvge.xml", "Qt Visual Graph Editor", "0.5.5"}, {"salat.xml", "Salat", "0.1.30"},
    {"rezervi-generic.xml", "Rezervi Generic Reservierungssystem", "0.9"},
    {"screencapture.xml", "Screen Capture API", "1.0.0"}, {"sidjukebox.xml", "SID Jukebox", "1.0"},
    {"smplayer-40lang.xml", "SMPlayer", "0.8.3"},
    {"smplayer-noversion.xml", "SMPlayer", "0.8.2.4861"},
    {"startrek.xml", "Star Trek Character Builder", "3.5"}, {"tntzbzc-zh.xml", "Clover", "3.0.406"},
    {"unlockmdm-upper.xml", "", ""}, {"ups.xml", "UPS", "3.37"},
    {"wiki2xhtml.xml", "wiki2xhtml", "3.3.2"}, {"winblit.xml", "WinBlit Speedread", "2.4.0.0"}};
// clang-format on

} // namespace

class TestPadReader : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatIsNotAReadableFile_data();
    void refusesWhatIsNotAReadableFile();
    void realFiles_data();
    void realFiles();

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
    refused("/dev/urandom", u"/dev/urandom"_s);
    QVERIFY(::mkfifo(QFile::encodeName(dir + u"pipe.xml"_s).constData(), 0600) == 0);
    refused("fifo without writer", dir + u"pipe.xml"_s);
    QVERIFY(QFile::link(dir + u"pipe.xml"_s, dir + u"pipe-link.xml"_s));
    refused("link to a fifo", dir + u"pipe-link.xml"_s);
    QVERIFY(writeFile(dir + u"over.xml"_s, foo, PadReader::MaxFileSize + 1));
    refused("one byte over the limit", dir + u"over.xml"_s);
    QVERIFY(writeFile(dir + u"huge.xml"_s, foo, 200LL * 1024 * 1024));
    refused("200 MB", dir + u"huge.xml"_s);
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

void TestPadReader::realFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("version");
    for (const RealFile &f : realFileTable)
        QTest::newRow(f.file) << QString::fromLatin1(f.file) << QString::fromUtf8(f.name)
                              << QString::fromUtf8(f.version);
    // Every file in the folder is in the table.
    QCOMPARE(QDir(padDir).entryList({u"*.xml"_s}).size(), qsizetype(std::size(realFileTable)));
}

void TestPadReader::realFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, name);
    QFETCH(QString, version);
    const auto pad = PadReader::read(padDir + file);
    QCOMPARE(pad.value_or(PadReader::Pad()).value(Field::ProgName), name);
    QCOMPARE(pad.value_or(PadReader::Pad()).value(Field::ProgVer), version);
}

QTEST_GUILESS_MAIN(TestPadReader)
#include "tst_padreader.moc"
