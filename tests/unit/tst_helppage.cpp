#include "browser/HelpPage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;
using tarvelo::HelpPage;
using Status = HelpPage::Status;

namespace {

const QByteArray pageBytes = "<!DOCTYPE html><title>Help</title><p>caf\xc3\xa9</p>\n";

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestHelpPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void folderChoice_data();
    void folderChoice();
    void rewritesOlderLongerCopy();
    void fromMemoryCarriesThePage();
    void missingSource();
    void removeDeletesEveryWrittenCopy();
    void removeIgnoresFilesAlreadyGone();
    void defaultFoldersStartWithProgramFolder();

private:
    QString folder(const QString &kind) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_source;
};

void TestHelpPage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(u"program"_s));
    QVERIFY(QDir(m_dir->path()).mkpath(u"runtime"_s));
    // A folder below a plain file can never be written, not even by root.
    QVERIFY(writeBytes(m_dir->filePath(u"plainfile"_s), "x"));
    m_source = m_dir->filePath(u"page.html"_s);
    QVERIFY(writeBytes(m_source, pageBytes));
}

QString TestHelpPage::folder(const QString &kind) const
{
    if (kind == u"unwritable")
        return m_dir->filePath(u"plainfile/folder"_s);
    if (kind == u"missing")
        return m_dir->filePath(u"no-such-folder"_s);
    return m_dir->filePath(kind);
}

void TestHelpPage::folderChoice_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("writtenIn"); // empty: none took it

    QTest::newRow("program folder") << u"program"_s << u"runtime"_s << u"program"_s;
    QTest::newRow("program folder unwritable") << u"unwritable"_s << u"runtime"_s << u"runtime"_s;
    QTest::newRow("program folder gone") << u"missing"_s << u"runtime"_s << u"runtime"_s;
    QTest::newRow("neither") << u"unwritable"_s << u"missing"_s << QString();
}

void TestHelpPage::folderChoice()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, writtenIn);

    HelpPage help(m_source, {folder(first), folder(second)});
    const HelpPage::Result result = help.write();

    if (writtenIn.isEmpty()) {
        QCOMPARE(result.status, Status::FromMemory);
        QVERIFY(help.writtenFiles().isEmpty());
        return;
    }
    const QString expected = folder(writtenIn) + u"/tempIndex.html"_s;
    QCOMPARE(result.status, Status::Written);
    QCOMPARE(result.address, QDir::toNativeSeparators(expected));
    QCOMPARE(readBytes(expected), pageBytes);
    QCOMPARE(help.writtenFiles(), QStringList{expected});
    QVERIFY(!QFile::exists(folder(second) + u"/tempIndex.html"_s) || second == writtenIn);
}

void TestHelpPage::rewritesOlderLongerCopy()
{
    const QString path = folder(u"program"_s) + u"/tempIndex.html"_s;
    QVERIFY(writeBytes(path, QByteArray(10000, 'z')));

    HelpPage help(m_source, {folder(u"program"_s)});
    QCOMPARE(help.write().status, Status::Written);
    QCOMPARE(readBytes(path), pageBytes); // nothing of the old copy is left
}

void TestHelpPage::fromMemoryCarriesThePage()
{
    HelpPage help(m_source, {folder(u"unwritable"_s)});
    const HelpPage::Result result = help.write();
    QCOMPARE(result.status, Status::FromMemory);

    const QUrl url(result.address);
    QCOMPARE(url.scheme(), u"data"_s);
    const QString prefix = u"text/html;charset=utf-8;base64,"_s;
    QVERIFY(url.path().startsWith(prefix));
    QCOMPARE(QByteArray::fromBase64(url.path().mid(prefix.size()).toLatin1()), pageBytes);
}

void TestHelpPage::missingSource()
{
    HelpPage help(m_dir->filePath(u"absent.html"_s), {folder(u"program"_s)});
    const HelpPage::Result result = help.write();
    QCOMPARE(result.status, Status::Missing);
    QVERIFY(result.address.isEmpty());
    QVERIFY(!QFile::exists(folder(u"program"_s) + u"/tempIndex.html"_s));
}

void TestHelpPage::removeDeletesEveryWrittenCopy()
{
    const QString programCopy = folder(u"program"_s) + u"/tempIndex.html"_s;
    const QString runtimeCopy = folder(u"runtime"_s) + u"/tempIndex.html"_s;

    HelpPage first(m_source, {folder(u"program"_s)});
    QCOMPARE(first.write().status, Status::Written);
    QCOMPARE(first.write().status, Status::Written); // Home pressed twice: one file
    QCOMPARE(first.writtenFiles().size(), 1);
    first.removeWrittenFile();
    QVERIFY(!QFile::exists(programCopy));

    // The same object once per folder, as when the program folder stops
    // taking the file in the middle of a run.
    HelpPage both(m_source, {folder(u"program"_s), folder(u"runtime"_s)});
    QCOMPARE(both.write().status, Status::Written);
    QVERIFY(QFile::exists(programCopy));
    QVERIFY(QFile::remove(programCopy));
    QVERIFY(QDir().rmdir(folder(u"program"_s)));
    QCOMPARE(both.write().status, Status::Written);
    QVERIFY(QFile::exists(runtimeCopy));
    both.removeWrittenFile();
    QVERIFY(!QFile::exists(runtimeCopy));
    QVERIFY(both.writtenFiles().isEmpty());
}

void TestHelpPage::removeIgnoresFilesAlreadyGone()
{
    HelpPage help(m_source, {folder(u"program"_s)});
    QCOMPARE(help.write().status, Status::Written);
    QVERIFY(QFile::remove(folder(u"program"_s) + u"/tempIndex.html"_s));
    help.removeWrittenFile(); // someone else removed it first
    help.removeWrittenFile(); // and nothing is left to do twice
    QVERIFY(help.writtenFiles().isEmpty());
}

void TestHelpPage::defaultFoldersStartWithProgramFolder()
{
    const QStringList folders = HelpPage::defaultFolders();
    QVERIFY(!folders.isEmpty());
    QCOMPARE(folders.first(), QCoreApplication::applicationDirPath());
    QCOMPARE(folders.size(), 2);
    QVERIFY(!folders.at(1).isEmpty());
}

QTEST_GUILESS_MAIN(TestHelpPage)
#include "tst_helppage.moc"
