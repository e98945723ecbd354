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

QTEST_GUILESS_MAIN(TestPadReader)
#include "tst_padreader.moc"
