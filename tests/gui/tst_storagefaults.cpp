// Writes that fail for real: the settings file and the help page on a
// read-only file system, on a full disk, or with something else in the way.
// The user is told, what they typed is not lost, nothing crashes. The mounts
// need root (as in CI); elsewhere those rows are skipped and say why.
#include "FakeBrowser.h"
#include "ScratchMounts.h"
#include "WindowFixture.h"
#include "browser/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What a stored settings file holds, read past QSettings' own cache: that cache
// still carries values a failed write could not store.
QStringList storedPaths(const QString &settingsFile)
{
    const QByteArray bytes = readBytes(settingsFile);
    QStringList paths;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.startsWith("txtLocalPAD"))
            paths << QString::fromUtf8(line);
    }
    return paths;
}

bool isRoot()
{
    return ::geteuid() == 0;
}

const QByteArray damagedSettings = "[Settings\ntxtLocalPAD0=/x.xml\n";

} // namespace

class TestStorageFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void settingsWriteFails_data();
    void settingsWriteFails();
    void helpPageWithNoWritableFolder_data();
    void helpPageWithNoWritableFolder();
};

void TestStorageFaults::settingsWriteFails_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason"); // the reason the message gives

    const QString cannotWrite = u"cannot be written"_s;
    QTest::newRow("read-only file system") << u"read-only"_s << cannotWrite;
    QTest::newRow("disk full") << u"full"_s << cannotWrite;
    // What stops the write is the file system, not the damage.
    QTest::newRow("damaged file on a read-only file system")
        << u"damaged read-only"_s << cannotWrite;
    QTest::newRow("a folder has the file's name") << u"folder"_s << cannotWrite;
    QTest::newRow("folder without write permission") << u"no permission"_s << cannotWrite;
}

void TestStorageFaults::settingsWriteFails()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    if (fault == u"no permission" && isRoot())
        QSKIP("permission bits do not stop root; the read-only row covers this");

    WindowFixture fx;
    ScratchMounts mounts; // after fx: unmounted before its folder goes
    const QString folder = fx.dir.path();
    const QString file = fx.settingsFile();
    const SettingsStore::Paths before{u"/old/zero.xml"_s, QString(), u"/old/two.xml"_s};

    // Set the fault up, and say how the user would clear it.
    std::function<bool()> clearFault;
    const bool onTmpfs = fault != u"folder" && fault != u"no permission";
    if (onTmpfs && !mounts.mountTmpfs(folder, 64 * 1024))
        QSKIP(qPrintable(mounts.error()));
    if (fault == u"damaged read-only") {
        QVERIFY(writeBytes(file, damagedSettings));
    } else if (fault != u"folder") {
        QVERIFY(fx.settings->savePaths(before));
    }
    if (fault.endsWith(u"read-only")) {
        QVERIFY2(mounts.setReadOnly(folder, true), qPrintable(mounts.error()));
        clearFault = [&] { return mounts.setReadOnly(folder, false); };
    } else if (fault == u"full") {
        QVERIFY2(mounts.fill(folder), qPrintable(mounts.error()));
        clearFault = [&] { return QFile::remove(folder + u"/filler"_s); };
    } else if (fault == u"folder") {
        QVERIFY(QDir(folder).mkdir(u"Tarvelo.conf"_s));
        clearFault = [&] { return QDir(folder).rmdir(u"Tarvelo.conf"_s); };
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        clearFault = [&] {
            return QFile::setPermissions(folder,
                                         QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
    }
    const QByteArray storedBefore = readBytes(file);

    FrmMain &w = fx.window();
    const QStringList typed{u"/pads/zero.xml"_s, u"/pads/one.xml"_s, QString()};
    for (int i = 0; i < ProfileCount; ++i)
        w.txtLocalPAD[i]->setText(typed[i]);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    // Cancel: the window stays open with every path, and the stored file is as it was.
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Cancel;
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(fx.dialogs.messages.size(), 2);
    const ScriptedDialogs::Message told = fx.dialogs.messages[1];
    QVERIFY2(told.text.contains(file), qPrintable(told.text));
    QVERIFY2(told.text.contains(reason), qPrintable(told.text));
    QCOMPARE(told.title, u"Error"_s);
    QCOMPARE(told.icon, QMessageBox::Warning);
    QCOMPARE(told.buttons, QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel);
    QCOMPARE(told.defaultButton, QMessageBox::Retry);
    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(w.txtLocalPAD[i]->text(), typed[i]);
    QCOMPARE(readBytes(file), storedBefore);

    // Retry while nothing changed: asked again, still nothing lost.
    fx.dialogs.messages.clear();
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Retry << QMessageBox::Retry
                       << QMessageBox::Cancel;
    QVERIFY(!w.close());
    QCOMPARE(fx.dialogs.messages.size(), 4);
    QCOMPARE(readBytes(file), storedBefore);
    QCOMPARE(w.txtLocalPAD[0]->text(), typed[0]);

    // Ignore: the window closes and the stored file is still as it was.
    fx.dialogs.messages.clear();
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Ignore;
    QVERIFY(w.close());
    QCOMPARE(fx.dialogs.messages.size(), 2);
    QCOMPARE(readBytes(file), storedBefore);

    // The user clears the fault while the message is open, then retries: stored, closed.
    w.show();
    fx.dialogs.messages.clear();
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Retry;
    bool cleared = false;
    fx.dialogs.onMessage = [&](const ScriptedDialogs::Message &m) {
        if (m.buttons.testFlag(QMessageBox::Retry))
            cleared = clearFault();
    };
    QVERIFY(w.close());
    QVERIFY(cleared);
    QCOMPARE(fx.dialogs.messages.size(), 2);
    QCOMPARE(storedPaths(file), (QStringList{u"txtLocalPAD0=/pads/zero.xml"_s,
                                             u"txtLocalPAD1=/pads/one.xml"_s, u"txtLocalPAD2="_s}));
}

void TestStorageFaults::helpPageWithNoWritableFolder_data()
{
    QTest::addColumn<bool>("defaultFolders"); // else two folders below a plain file
    QTest::newRow("read-only program and runtime folders") << true;
    QTest::newRow("both folders below a plain file") << false;
}

void TestStorageFaults::helpPageWithNoWritableFolder()
{
    QFETCH(bool, defaultFolders);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScratchMounts mounts;
    QStringList folders; // what the session is given; empty means the defaults
    QStringList blocked; // where the page must not appear
    if (defaultFolders) {
        blocked = HelpPage::defaultFolders();
        QCOMPARE(blocked.size(), 2);
        QCOMPARE(blocked[0], QCoreApplication::applicationDirPath());
        QCOMPARE(blocked[1], QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        if (!mounts.bindToItself(blocked[0]))
            QSKIP(qPrintable(mounts.error()));
        QVERIFY2(mounts.setReadOnly(blocked[0], true), qPrintable(mounts.error()));
        QVERIFY2(mounts.mountTmpfs(blocked[1], 64 * 1024), qPrintable(mounts.error()));
        QVERIFY2(mounts.setReadOnly(blocked[1], true), qPrintable(mounts.error()));
        // Still the same two folders once they are read-only.
        QCOMPARE(HelpPage::defaultFolders(), blocked);
    } else {
        QVERIFY(writeBytes(dir.filePath(u"plain"_s), "x"));
        folders = {dir.filePath(u"plain/program"_s), dir.filePath(u"plain/runtime"_s)};
        blocked = folders;
    }

    // A copy some other run left behind may be there: it must stay as it is.
    QList<QByteArray> leftBehind;
    for (const QString &folder : std::as_const(blocked))
        leftBehind << readBytes(folder + u'/' + HelpPage::fileName());

    ScriptedDialogs dialogs;
    FakeBrowser browser;
    ScriptedKeyState keys;
    SettingsStore settings(dir.filePath(u"Tarvelo.conf"_s));
    Session session({dialogs, browser, keys, settings, folders});
    session.startUp();

    // Told once, at start-up, and the page shows all the same.
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, u"Tarvelo"_s);
    QVERIFY2(dialogs.messages[0].text.contains(u"shown from memory"_s),
             qPrintable(dialogs.messages[0].text));
    const QByteArray page = readBytes(HelpPage::resourcePath());
    QVERIFY(page.contains("<title>"));
    const auto shownPages = [&] {
        QList<QByteArray> pages;
        for (const QString &call : browser.calls.filter(u"navigate "_s)) {
            const QUrl url(call.mid(9));
            const QString prefix = u"text/html;charset=utf-8;base64,"_s;
            pages << (url.scheme() == u"data" && url.path().startsWith(prefix)
                          ? QByteArray::fromBase64(url.path().mid(prefix.size()).toLatin1())
                          : call.toUtf8());
        }
        return pages;
    };
    QCOMPARE(shownPages(), QList<QByteArray>{page});

    // Home again, twice: the page again, no second message.
    session.window().cmdHome->click();
    session.window().cmdHome->click();
    QCOMPARE(shownPages(), (QList<QByteArray>{page, page, page}));
    QCOMPARE(dialogs.messages.size(), 1);

    // Closing has no file to remove and nothing more to say.
    session.window().show();
    dialogs.answers << QMessageBox::Yes;
    QVERIFY(session.window().close());
    QCOMPARE(dialogs.messages.size(), 2);
    for (int i = 0; i < blocked.size(); ++i)
        QCOMPARE(readBytes(blocked[i] + u'/' + HelpPage::fileName()), leftBehind[i]);
}

QTEST_MAIN(TestStorageFaults)
#include "tst_storagefaults.moc"
