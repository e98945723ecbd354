// Start-up and close over the real window, and settings writes that fail for
// real: the user is told and what they typed is not lost.
#include "WindowFixture.h"
#include "gui/window/Lifecycle.h"
#include "gui/window/TabControl.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include <sched.h>
#include <sys/mount.h>

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

// A 64 KB tmpfs on the folder makes writes fail also for root, whom permission
// bits do not stop; in a mount namespace of our own, it goes with the process.
bool mountTmpfs(const QString &folder, unsigned long flags = 0)
{
    static const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ownNamespace && ::mount("tarvelo-test", QFile::encodeName(folder).constData(), "tmpfs",
                                   flags | MS_NOSUID | MS_NODEV, "size=65536,mode=0700") == 0;
}

// The window with its start-up steps recorded in order, and its path boxes.
struct Run : WindowFixture
{
    Run()
    {
        const auto note = [this](const QString &step) { return [this, step] { log << step; }; };
        const auto load = [this](int i) {
            return log << u"load %1 after %2 messages"_s.arg(i).arg(dialogs.messages.size()), true;
        };
        lifecycle = std::make_unique<Lifecycle>(
            window(), dialogs, settings,
            Lifecycle::Steps{note(u"home"_s), note(u"pictures"_s), load, note(u"remove help"_s)});
    }
    ~Run() { ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH); }
    QLineEdit *path(int i) { return control<QLineEdit>(u"txtLocalPAD_%1"_s.arg(i)); }
    QStringList log;
    std::unique_ptr<Lifecycle> lifecycle;
};

const QByteArray alpha = "<Program_Name> Alpha\n</Program_Name><Program_Descriptions><German><Char_"
                         "Desc_45>Kurz</Char_Desc_45></German><English><Char_Desc_45>Short</Char_"
                         "Desc_45></English></Program_Descriptions>"; // English is shown

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startUpAndClose_data();
    void startUpAndClose();
    void settingsWriteFails_data();
    void settingsWriteFails();
    void profileShowsItsFile_data();
    void profileShowsItsFile();
    void choicesSurviveARestart();
};

void TestLifecycle::startUpAndClose_data()
{
    // Per profile: "-" no path, "missing", "empty" (0 bytes), "pad", "folder".
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QStringList>("log"); // after "home" and "pictures"
    QTest::addColumn<QList<int>>("reported");
    QTest::addColumn<QByteArray>("damage"); // the settings file's bytes instead
    QTest::newRow("first run") << u"- - -"_s << QStringList() << QList<int>{} << QByteArray();
    QTest::newRow("first missing, second exists")
        << u"missing pad -"_s << QStringList{u"load 1 after 1 messages"_s} << QList<int>{0}
        << QByteArray();
    QTest::newRow("three missing")
        << u"missing missing missing"_s << QStringList() << QList<int>{0, 1, 2} << QByteArray();
    QTest::newRow("empty file is neither read nor reported")
        << u"empty - pad"_s << QStringList{u"load 2 after 0 messages"_s} << QList<int>{}
        << QByteArray();
    QTest::newRow("folder is reported like a missing file")
        << u"folder - -"_s << QStringList() << QList<int>{0} << QByteArray();
    QTest::newRow("today's file, the paths only")
        << u"- - -"_s << QStringList() << QList<int>{} << QByteArray("[Settings]\ntxtLocalPAD0=\n");
    // A damaged file reads as empty and is replaced on the next save, without a word.
    for (const QByteArray &damage : {QByteArray("\x00\xff\xfe[Settings\x01\x02=\x03", 15),
                                     QByteArray("[Settings\ntxtLocalPAD0=/x.xml\n"),
                                     QByteArray("[Settings]\ntxtLocalPAD0=@Variant(\\0\\x7f)\n")})
        QTest::addRow("damaged %s", damage.toPercentEncoding().data())
            << u"- - -"_s << QStringList() << QList<int>{} << damage;
}

void TestLifecycle::startUpAndClose()
{
    QFETCH(QString, kinds);
    QFETCH(QStringList, log);
    QFETCH(QList<int>, reported);
    QFETCH(QByteArray, damage);
    Run run;
    SettingsStore::Paths paths;
    for (int i = 0; i < ProfileCount; ++i) {
        const QString kind = kinds.split(u' ')[i];
        paths[i] = kind == u"-"        ? QString()
                   : kind == u"folder" ? run.dir.path()
                                       : run.dir.filePath(kind + u".xml"_s);
        if (kind == u"empty" || kind == u"pad")
            QVERIFY(writeBytes(paths[i], kind == u"pad" ? "<Program_Name>P</Program_Name>" : ""));
    }
    QVERIFY(damage.isEmpty() ? run.settings.save({.paths = paths})
                             : writeBytes(run.settingsFile, damage));
    run.window().setCurrentProfileTag(u"2"_s);
    run.lifecycle->startUp();
    QCOMPARE(run.log, QStringList({u"home"_s, u"pictures"_s}) + log);
    QCOMPARE(run.dialogs.messages.size(), reported.size());
    for (int m = 0; m < reported.size(); ++m)
        QCOMPARE(run.dialogs.messages[m].text, u"Couldn't load Local PAD "_s + paths[reported[m]]);
    for (int i = 0; i < ProfileCount; ++i) // every path stays in its box, reported or not
        QCOMPARE(run.path(i)->text(), paths[i]);
    QCOMPARE(run.window().currentProfileTag(), u"0"_s);
    // Back on "Main Window" from "PAD Files", the paths are stored at once.
    QTabBar *tabs = run.window().tabControl()->tabBar();
    tabs->setCurrentIndex(1);
    run.path(2)->setText(paths[2] = run.dir.filePath(u"later.xml"_s));
    tabs->setCurrentIndex(0);
    QVERIFY(SettingsStore(run.settingsFile).load().paths == paths);
    // Closing asks first; No keeps everything. Yes stores the paths as they
    // are, those that failed to load too, then removes the help page.
    run.dialogs.answers << QMessageBox::No << QMessageBox::Yes;
    run.path(1)->setText(paths[1] = u"/\u00fc/x;y=z.XML"_s);
    QVERIFY(!run.window().close());
    QCOMPARE(run.dialogs.messages.last().text, u"Are you sure?"_s);
    QVERIFY(run.log.last() != u"remove help"_s);
    QVERIFY(run.window().close());
    QCOMPARE(run.dialogs.messages.size(), reported.size() + 2);
    QVERIFY(SettingsStore(run.settingsFile).load().paths == paths);
    QCOMPARE(run.log.last(), u"remove help"_s);
}

void TestLifecycle::settingsWriteFails_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("read-only file system") << u"read-only"_s;
    QTest::newRow("disk full") << u"full"_s;
    // What stops the write is the file system, not the damage.
    QTest::newRow("damaged file on a read-only file system") << u"damaged read-only"_s;
    QTest::newRow("a folder has the file's name") << u"folder"_s;
}

void TestLifecycle::settingsWriteFails()
{
    QFETCH(QString, fault);
    Run run;
    const QString folder = run.dir.path(), filler = run.dir.filePath(u"filler"_s);
    if (fault != u"folder" && !mountTmpfs(folder))
        QSKIP("no tmpfs of our own: needs root");
    if (fault == u"damaged read-only")
        QVERIFY(writeBytes(run.settingsFile, "[Settings\ntxtLocalPAD0=/x\n"));
    else if (fault != u"folder")
        QVERIFY(run.settings.save({.paths = {u"/old/zero.xml"_s, QString(), u"/old/two.xml"_s}}));
    // Set the fault up, and say how the user clears it.
    std::function<bool()> clear = [&] { return QDir(folder).rmdir(u"Tarvelo.conf"_s); };
    if (fault.endsWith(u"read-only")) {
        QVERIFY(mountTmpfs(folder, MS_REMOUNT | MS_RDONLY));
        clear = [&] { return mountTmpfs(folder, MS_REMOUNT); };
    } else if (fault == u"full") {
        QFile file(filler); // not even one more byte fits
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (file.write("f", 1) == 1) {
        }
        clear = [&] { return QFile::remove(filler); };
    } else {
        QVERIFY(QDir(folder).mkdir(u"Tarvelo.conf"_s));
    }
    const QByteArray storedBefore = readBytes(run.settingsFile);
    for (int i = 0; i < ProfileCount; ++i)
        run.path(i)->setText(u"/pads/%1.xml"_s.arg(i));
    QVERIFY(run.showActive());

    // Cancel: the window stays open with every path, the stored file as it was.
    run.dialogs.answers << QMessageBox::Yes << QMessageBox::Cancel;
    QVERIFY(!run.window().close());
    QCOMPARE(run.dialogs.messages.size(), 2);
    const ScriptedDialogs::Message told = run.dialogs.messages[1];
    QVERIFY2(told.text.contains(run.settingsFile) && told.text.contains(u"cannot be written"_s),
             qPrintable(told.text));
    QCOMPARE(told.buttons, QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel);
    QCOMPARE(told.defaultButton, QMessageBox::Retry);
    QCOMPARE(run.path(1)->text(), u"/pads/1.xml"_s);
    // Retry with nothing changed: asked again; Ignore: closed. Nothing stored.
    run.dialogs.answers << QMessageBox::Yes << QMessageBox::Retry << QMessageBox::Ignore;
    QVERIFY(run.window().close());
    QCOMPARE(run.dialogs.messages.size(), 5);
    QCOMPARE(readBytes(run.settingsFile), storedBefore);
    // The user clears the fault while the message is open and retries: stored, closed.
    run.window().show();
    run.dialogs.answers << QMessageBox::Yes << QMessageBox::Retry;
    run.dialogs.onMessage = [&](const ScriptedDialogs::Message &m) {
        QVERIFY(!m.buttons.testFlag(QMessageBox::Retry) || clear());
    };
    QVERIFY(run.window().close());
    QCOMPARE(run.dialogs.messages.size(), 7);
    // Read past QSettings' cache, which keeps what it could not store.
    QCOMPARE(QString::fromUtf8(readBytes(run.settingsFile)).split(u'\n').filter(u"txtLocalPAD"_s),
             (QStringList{u"txtLocalPAD0=/pads/0.xml"_s, u"txtLocalPAD1=/pads/1.xml"_s,
                          u"txtLocalPAD2=/pads/2.xml"_s}));
}

void TestLifecycle::profileShowsItsFile_data()
{
    // Profile 0 shows a.xml, its PAD URL typed over; then a file is chosen ("" cancels), typed,
    // left as it was ("="), or a language picked. Nothing of a.xml may stay with b.xml.
    QTest::addColumn<QString>("act");
    QTest::addColumn<QStringList>("shown"); // program name, PAD URL, short description
    QTest::addColumn<int>("messages");
    const QStringList kept{u"Alpha"_s, u"typed"_s, u"Short"_s}, b{u"Beta"_s, {}, {}},
        none{{}, {}, {}};
    QTest::newRow("choose") << u"choose b"_s << b << 0;
    QTest::newRow("choose missing") << u"choose missing"_s << none << 1;
    QTest::newRow("cancel") << u"choose "_s << kept << 0;
    QTest::newRow("type, Enter") << u"type b"_s << b << 0;
    QTest::newRow("type, leave") << u"leave b"_s << b << 0;
    QTest::newRow("leave unchanged") << u"leave ="_s << kept << 0;
    QTest::newRow("empty path") << u"type "_s << none << 0;
    QTest::newRow("language") << u"pick German"_s << QStringList{u"Alpha"_s, u"typed"_s, u"Kurz"_s}
                              << 0;
}

void TestLifecycle::profileShowsItsFile()
{
    QFETCH(QString, act);
    QFETCH(QStringList, shown);
    QFETCH(int, messages);
    WindowFixture fx;
    const QString verb = act.section(u' ', 0, 0), object = act.section(u' ', 1);
    const QString named = object.isEmpty() ? object : fx.dir.filePath(object + u".xml"_s);
    QVERIFY(writeBytes(fx.dir.filePath(u"a.xml"_s), alpha) &&
            writeBytes(fx.dir.filePath(u"b.xml"_s), "<Program_Name>Beta</Program_Name>"));
    auto *path = fx.control<QLineEdit>(u"txtLocalPAD_0"_s);
    const auto click = [&] { QTest::mouseClick(fx.control(u"lblLocalPad_0"_s), Qt::LeftButton); };
    fx.dialogs.padFiles << fx.dir.filePath(u"a.xml"_s) << named;
    click();
    fx.window().setFieldText(Field::PADURL, 0, u"typed"_s);
    if (verb == u"choose")
        click();
    else if (verb == u"pick")
        fx.control<QComboBox>(u"cboLanguage_0"_s)->setCurrentText(object);
    else if (object != u"=")
        path->selectAll(), QTest::keyClick(path, Qt::Key_Delete), QTest::keyClicks(path, named);
    QFocusEvent out(QEvent::FocusOut);
    verb == u"type" ? QTest::keyClick(path, Qt::Key_Return)
                    : void(QApplication::sendEvent(path, &out));
    const auto text = [&](Field field) { return fx.window().fieldText(field, 0); };
    QCOMPARE(QStringList({text(Field::ProgName), text(Field::PADURL), text(Field::ShortDesc)}),
             shown);
    QCOMPARE(fx.dialogs.messages.size(), messages);
    QVERIFY(!messages || fx.dialogs.messages[0].text == u"Couldn't load Local PAD "_s + named);
}

void TestLifecycle::choicesSurviveARestart()
{
    WindowFixture fx;
    const QString a = fx.dir.filePath(u"a.xml"_s), line = u"\ntxtLocalPAD%1="_s + a;
    QVERIFY(writeBytes(a, alpha) &&
            writeBytes(fx.settingsFile, (u"[Settings]\ntxtPADURL1=fixed\nCurrentProfile=2"_s +
                                         line.arg(0) + line.arg(1) + line.arg(2))
                                            .toUtf8()));
    fx.session->startUp();
    QCOMPARE(fx.window().fieldText(Field::PADURL, 1), u"fixed"_s);
    QVERIFY(fx.showActive());
    fx.window().tabControl()->setCurrentIndex(1);
    for (int i = 0; i < ProfileCount; ++i) // profile 3's panel shows, its counter alone
        QCOMPARE(fx.window().charCountLabel(i)->visibleRegion().isEmpty(), i != 2);
    fx.window().setFieldText(Field::PADURL, 0, u"typed"_s);
    fx.dialogs.answers << QMessageBox::Yes;
    QVERIFY(fx.window().close());
    const SettingsStore::Settings saved = fx.settings.load();
    // A PAD URL as the file gives it is not stored: it comes from the file again.
    QVERIFY(saved.padUrls[0] == u"typed"_s && saved.padUrls[1] == u"fixed"_s && !saved.padUrls[2]);
    QCOMPARE(saved.currentProfile, 2);
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
