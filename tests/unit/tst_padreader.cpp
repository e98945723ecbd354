#include "ReferenceEntityDecoder.h"
#include "profiles/PadReader.h"
#include "profiles/PadText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace tarvelo;

Q_DECLARE_METATYPE(tarvelo::Field)

namespace {

const QString padDir = QStringLiteral(TARVELO_TEST_DATA "/pad");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read test file %s", qPrintable(path));
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A file of `size` bytes that takes no disk space.
bool writeSparseFile(const QString &path, qint64 size)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.resize(size);
}

int openDescriptorCount()
{
    return int(QDir(u"/proc/self/fd"_s)
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

QString closingTag(const QString &tag)
{
    return tag.first(1) + u'/' + tag.sliced(1);
}

} // namespace

class TestPadReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusesWhatIsNotAReadableFile_data();
    void refusesWhatIsNotAReadableFile();
    void readsOddButRealFiles_data();
    void readsOddButRealFiles();
    void emptyFileGivesEmptyValues();
    void valuesFollowTheLoadOrder();
    void sizeLimitBoundary();
    void largeFilesLoad_data();
    void largeFilesLoad();
    void binaryFileLoads();
    void realFilesAgreeWithModel_data();
    void realFilesAgreeWithModel();
    void realFileFields_data();
    void realFileFields();
    void upperCaseTagsGiveEmptyValues();
    void windows1252FileReadsLikeItsUtf8Twin();
    void multiLineValuesKeepCrLf();
    void escapedBracketsArriveReal();

private:
    QTemporaryDir m_dir;
    QString m_pad; // a small valid PAD file in m_dir
};

void TestPadReader::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pad = m_dir.filePath(u"pad.xml"_s);
    QVERIFY(writeFile(m_pad, "<Program_Name>Foo</Program_Name>"));
}

void TestPadReader::refusesWhatIsNotAReadableFile_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = m_dir.path();

    QTest::newRow("empty path") << QString();
    QTest::newRow("no such file") << dir + u"/missing.xml"_s;
    QTest::newRow("folder") << dir;
    QTest::newRow("file used as folder") << m_pad + u"/x.xml"_s;
    QTest::newRow("file with trailing slash") << m_pad + u"/"_s;
    QTest::newRow("NUL after a real file") << m_pad + QChar(0) + u"x"_s;
    QTest::newRow("line breaks") << u"\n/tmp\r\n/pad.xml\n"_s;
    QTest::newRow("5000 characters") << QString(5000, u'a');
    QTest::newRow("5000 characters of folders") << u"/a"_s.repeated(2500);
    QTest::newRow("/dev/zero") << u"/dev/zero"_s;
    QTest::newRow("/dev/null") << u"/dev/null"_s;
    QTest::newRow("/dev/urandom") << u"/dev/urandom"_s;

    const QString fifo = dir + u"/pipe.xml"_s;
    if (!QFile::exists(fifo))
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("fifo without writer") << fifo;
    const QString fifoLink = dir + u"/pipe-link.xml"_s;
    if (!QFile::exists(fifoLink))
        QVERIFY(QFile::link(fifo, fifoLink));
    QTest::newRow("link to a fifo") << fifoLink;
    const QString dangling = dir + u"/dangling.xml"_s;
    QFile::link(dir + u"/nowhere.xml"_s, dangling);
    QTest::newRow("dangling link") << dangling;

    const QString tooBig = dir + u"/too-big.xml"_s;
    QVERIFY(writeSparseFile(tooBig, PadReader::MaxFileSize + 1));
    QTest::newRow("one byte over the limit") << tooBig;
    const QString huge = dir + u"/huge.xml"_s;
    QVERIFY(writeSparseFile(huge, 200LL * 1024 * 1024));
    QTest::newRow("200 MB") << huge;

    const QString locked = dir + u"/locked.xml"_s;
    QVERIFY(writeFile(locked, "<Program_Name>Foo</Program_Name>"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    QTest::newRow("no read permission") << locked;
}

void TestPadReader::refusesWhatIsNotAReadableFile()
{
    QFETCH(QString, path);
    if (QByteArrayView(QTest::currentDataTag()) == "no read permission" && ::geteuid() == 0)
        QSKIP("root reads every file");

    const int descriptorsBefore = openDescriptorCount();
    QElapsedTimer timer;
    timer.start();
    const auto pad = PadReader::read(path);
    const qint64 elapsed = timer.elapsed();
    QVERIFY(!pad.has_value());
    QVERIFY2(elapsed < 1000, qPrintable(u"took %1 ms"_s.arg(elapsed)));
    QCOMPARE(openDescriptorCount(), descriptorsBefore);
}

void TestPadReader::readsOddButRealFiles_data()
{
    QTest::addColumn<QString>("path");
    const QString dir = m_dir.path();

    const QString withBreak = dir + u"/two\nlines.xml"_s;
    QVERIFY(writeFile(withBreak, "<Program_Name>Foo</Program_Name>"));
    QTest::newRow("line break in name") << withBreak;
    const QString link = dir + u"/link.xml"_s;
    if (!QFile::exists(link))
        QVERIFY(QFile::link(m_pad, link));
    QTest::newRow("symbolic link") << link;
    const QString accented = dir + u"/d\u00e9j\u00e0 vu.XML"_s;
    QVERIFY(writeFile(accented, "<Program_Name>Foo</Program_Name>"));
    QTest::newRow("accented name") << accented;
    QTest::newRow("dots in path") << dir + u"/./../"_s + QFileInfo(dir).fileName() + u"/pad.xml"_s;
}

void TestPadReader::readsOddButRealFiles()
{
    QFETCH(QString, path);
    const int descriptorsBefore = openDescriptorCount();
    const auto pad = PadReader::read(path);
    QVERIFY(pad.has_value());
    QCOMPARE(pad->value(Field::ProgName), u"Foo"_s);
    QCOMPARE(openDescriptorCount(), descriptorsBefore);
}

void TestPadReader::emptyFileGivesEmptyValues()
{
    const QString path = m_dir.filePath(u"empty.xml"_s);
    QVERIFY(writeFile(path, QByteArray()));
    const auto pad = PadReader::read(path);
    QVERIFY(pad.has_value());
    QVERIFY(pad->padText.isEmpty());
    for (const QString &value : pad->values)
        QVERIFY(value.isEmpty());
}

void TestPadReader::valuesFollowTheLoadOrder()
{
    // Every tag holds the name of its own field, so a value in the wrong slot shows.
    QByteArray xml = "<XML_DIZ_INFO>\n";
    for (const FieldSpec &info : fieldTable()) {
        if (!info.padTag.isEmpty())
            xml += (info.padTag + info.name + closingTag(info.padTag) + u'\n').toUtf8();
    }
    const auto pad = PadReader::fromBytes(xml);
    const auto &order = padLoadOrder();
    QCOMPARE(order.size(), pad.values.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        QCOMPARE(pad.values[k], fieldSpec(order[k]).name);
        QCOMPARE(pad.value(order[k]), fieldSpec(order[k]).name);
    }
    QCOMPARE(pad.value(Field::LocalPAD), QString());
}

void TestPadReader::sizeLimitBoundary()
{
    const QString atLimit = m_dir.filePath(u"at-limit.xml"_s);
    QVERIFY(writeSparseFile(atLimit, PadReader::MaxFileSize));
    const auto bytes = PadReader::readFileBytes(atLimit);
    QVERIFY(bytes.has_value());
    QCOMPARE(bytes->size(), PadReader::MaxFileSize);
    QFile::remove(atLimit);

    const QString overLimit = m_dir.filePath(u"over-limit.xml"_s);
    QVERIFY(writeSparseFile(overLimit, PadReader::MaxFileSize + 1));
    QVERIFY(!PadReader::readFileBytes(overLimit).has_value());
    QFile::remove(overLimit);
}

void TestPadReader::largeFilesLoad_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("10 MB") << qint64(10 * 1024 * 1024);
    QTest::newRow("largest accepted") << PadReader::MaxFileSize;
}

void TestPadReader::largeFilesLoad()
{
    QFETCH(qint64, size);
    // A PAD file swollen with escaped text in its long description, the web
    // address behind it, so that the searches go through the whole file.
    const QByteArray head = "<Program_Name>Big</Program_Name><Char_Desc_450>";
    const QByteArray tail =
        "</Char_Desc_450><Application_XML_File_URL>u</Application_XML_File_URL>";
    const QByteArray line = "Tom &amp; Jerry &lt;b&gt; caf&#xe9; &amp;lt; &#x92; &#233;\r\n";
    const qsizetype lines = (size - head.size() - tail.size()) / line.size();
    const qsizetype blanks = size - head.size() - tail.size() - lines * line.size();
    const QByteArray filler = line.repeated(lines) + QByteArray(blanks, ' ');
    const QString path = m_dir.filePath(u"large.xml"_s);
    QVERIFY(writeFile(path, head + filler + tail));
    QCOMPARE(QFileInfo(path).size(), size);

    QElapsedTimer timer;
    timer.start();
    const auto pad = PadReader::read(path);
    const qint64 elapsed = timer.elapsed();
    qInfo("%s PAD file read in %lld ms", QTest::currentDataTag(), elapsed);
    QVERIFY(pad.has_value());
    QCOMPARE(pad->value(Field::ProgName), u"Big"_s);
    QCOMPARE(pad->value(Field::PADURL), u"u"_s);
    const QString longDesc = pad->value(Field::LongDesc);
    QVERIFY(longDesc.startsWith(u"Tom & Jerry <b> caf\u00e9 < \u2019 &#233;\r\nTom"_s));
    const QString decodedLine = reference::decodeEntities(QString::fromLatin1(line));
    QCOMPARE(longDesc, decodedLine.repeated(lines) + QString(blanks, u' '));
    // Reading the largest file the reader accepts must not stall the window.
    QVERIFY2(elapsed < 1500, qPrintable(u"took %1 ms"_s.arg(elapsed)));
    QFile::remove(path);
}

void TestPadReader::binaryFileLoads()
{
    QRandomGenerator rng(4711);
    QByteArray junk(256 * 1024, Qt::Uninitialized);
    for (char &c : junk)
        c = char(rng.bounded(256));
    junk[0] = 'x'; // not a UTF-16 byte-order mark
    junk.insert(1000, QByteArray("<Program_Name>\x80\x81\0</Program_Name>", 32));
    const QString path = m_dir.filePath(u"binary.xml"_s);
    QVERIFY(writeFile(path, junk));
    const auto pad = PadReader::read(path);
    QVERIFY(pad.has_value());
    // Random bytes are not UTF-8, so every byte is one Windows-1252 character.
    QCOMPARE(pad->value(Field::ProgName), QString(QChar(0x20AC)) + QChar(0x81) + QChar(0));
    QCOMPARE(pad->padText, reference::decodeEntities(decodePadBytes(junk)));
}

void TestPadReader::realFilesAgreeWithModel_data()
{
    QTest::addColumn<QString>("path");
    const QStringList files = QDir(padDir).entryList({u"*.xml"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 40);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << padDir + u'/' + file;
}

void TestPadReader::realFilesAgreeWithModel()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    const auto pad = PadReader::read(path);
    QVERIFY(pad.has_value());

    // Every file here is UTF-8 (one with a byte-order mark) or Windows-1252.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        QCOMPARE(decodePadBytes(bytes), asUtf8);
    }
    QCOMPARE(pad->padText, reference::decodeEntities(decodePadBytes(bytes)));

    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k) {
        const QString &tag = fieldSpec(order[k]).padTag;
        const QString &value = pad->values[k];
        if (!value.isEmpty())
            QVERIFY(pad->padText.contains(tag + value + closingTag(tag)));
    }
}

void TestPadReader::realFileFields_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const char *file, Field field, const QString &value) {
        QTest::newRow(name) << QString::fromLatin1(file) << field << value;
    };
    // UTF-8 accents come in as one character each.
    row("utf8 program name", "metamorphose.xml", Field::ProgName,
        u"M\u00e9tamorphose File -n- Folder Renamer"_s);
    row("utf8 company", "metamorphose.xml", Field::Company, u"Ianar\u00e9 S\u00e9vi"_s);
    row("utf8 author", "metamorphose.xml", Field::Author, u"Ianar\u00e9"_s);
    row("utf8 short desc", "metamorphose.xml", Field::ShortDesc,
        u"M\u00e9tamorphose : A file and folder renamer"_s);
    row("version", "metamorphose.xml", Field::ProgVer, u"1.1.2"_s);
    row("file size as written", "metamorphose.xml", Field::FileSize, u"4431"_s);
    row("pad url", "metamorphose.xml", Field::PADURL,
        u"http://file-folder-ren.sourceforge.net/pad_file.xml"_s);
    row("self-closing secondary url", "metamorphose.xml", Field::SecURL, QString());
    // The BOM file: decimal references are not in the table.
    row("bom file company", "dvdstyler.xml", Field::Company, u"Alex Th&#252;ring"_s);
    row("bom file program", "dvdstyler.xml", Field::ProgName, u"DVDStyler"_s);
    row("amp in name", "gislook.xml", Field::ProgName, u"GISLook & GISMeta"_s);
    row("amp in short desc", "winblit.xml", Field::ShortDesc,
        u"Speedread e-mails, Web pages & Word docs ."_s);
    row("blank inside opening tag", "diwacs.xml", Field::ProgURL, QString());
    row("self-closing short desc", "diwacs.xml", Field::ShortDesc, QString());
    row("broken closing tag", "gpgtools-installer.xml", Field::HomePage, QString());
    row("after broken tag", "gpgtools-installer.xml", Field::ProgURL,
        u"http://github.com/downloads/GPGTools/GPGTools/GPGTools-20110214.dmg"_s);
    row("blanks around url kept", "goalaid.xml", Field::ProgURL,
        u" https://github.com/GoalAid/goalaid "_s);
    row("missing company tag", "goalaid.xml", Field::Company, QString());
    row("missing short desc", "carddavcleaner-nocd45.xml", Field::ShortDesc, QString());
    row("1252 file program", "dumphex-cp1252-raw.xml", Field::ProgName, u"DumpHex"_s);
    row("1252 file short desc", "dumphex-cp1252-raw.xml", Field::ShortDesc,
        u"DumpHex is a Win32 Command line Hex-Viewer."_s);
}

void TestPadReader::realFileFields()
{
    QFETCH(QString, file);
    QFETCH(Field, field);
    QFETCH(QString, expected);
    const auto pad = PadReader::read(padDir + u'/' + file);
    QVERIFY(pad.has_value());
    QCOMPARE(pad->value(field), expected);
}

void TestPadReader::upperCaseTagsGiveEmptyValues()
{
    const auto pad = PadReader::read(padDir + u"/unlockmdm-upper.xml"_s);
    QVERIFY(pad.has_value());
    QVERIFY(pad->padText.contains(u"<PROGRAM_NAME>"_s));
    for (const QString &value : pad->values)
        QCOMPARE(value, QString());
}

void TestPadReader::windows1252FileReadsLikeItsUtf8Twin()
{
    const auto raw = PadReader::read(padDir + u"/dumphex-cp1252-raw.xml"_s);
    const auto utf8 = PadReader::read(padDir + u"/dumphex-cp1252.xml"_s);
    QVERIFY(raw.has_value() && utf8.has_value());
    QVERIFY(raw->padText.contains(u"ein Hex-Viewer f\u00fcr die Befehlszeile."_s));
    QVERIFY(raw->padText.contains(u"Copyright \u00a9 2002"_s));
    QCOMPARE(raw->padText, utf8->padText);
    QCOMPARE(raw->values, utf8->values);
}

void TestPadReader::multiLineValuesKeepCrLf()
{
    const auto cmd = PadReader::read(padDir + u"/cmdlinehere.xml"_s);
    QVERIFY(cmd.has_value());
    const QString longDesc = cmd->value(Field::LongDesc);
    QVERIFY(longDesc.startsWith(u"Command line Here \r\nby Aubrey Hall - "_s));
    QVERIFY(longDesc.contains(u"named \"Command Line Here\" to"_s));

    const auto meta = PadReader::read(padDir + u"/metamorphose.xml"_s);
    QVERIFY(meta.has_value());
    // One line of 438 characters, each accented letter counted once.
    QCOMPARE(meta->value(Field::LongDesc).size(), 438);
    QVERIFY(meta->padText.contains(u"</Program_Name>\r\n"_s));
}

void TestPadReader::escapedBracketsArriveReal()
{
    const auto pad = PadReader::read(padDir + u"/jucevlc.xml"_s);
    QVERIFY(pad.has_value());
    const QString longDesc = pad->value(Field::LongDesc);
    QVERIFY(longDesc.contains(u"wireless mouse.    >--<      Browse files"_s));
    QVERIFY(!longDesc.contains(u"&lt;"_s));
}

QTEST_GUILESS_MAIN(TestPadReader)
#include "tst_padreader.moc"
