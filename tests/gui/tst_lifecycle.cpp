// Start-up and close sequences over the real window, with scripted dialogs and
// a settings file of the test's own.
#include "WindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

using namespace tarvelo;

class TestLifecycle : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstRunShowsDefaultsAndNoMessage();
    void profileFileCheck_data();
    void profileFileCheck();
    void corruptSettingsReadAsEmpty_data();
    void corruptSettingsReadAsEmpty();
    void closeAnswerNoKeepsEverything();
    void closeAnswerYesStoresPathsAndRemovesHelpPage();
    void failedPathIsWrittenBackUnchanged();
    void unwritableSettingsAreReportedAndKept();
};

namespace {

QString stored(const QString &file, int profile)
{
    QSettings s(file, QSettings::NativeFormat);
    return s.value(QStringLiteral("Settings/txtLocalPAD%1").arg(profile)).toString();
}

// A fixture whose start-up steps are recorded in order.
struct RecordingRun
{
    RecordingRun()
    {
        Lifecycle::Steps steps;
        steps.pressHome = [this] { log << QStringLiteral("home"); };
        steps.showNormalPictures = [this] { log << QStringLiteral("pictures"); };
        steps.loadPad = [this](int i) {
            log << QStringLiteral("load %1 after %2 messages").arg(i).arg(fx.dialogs.messages.size());
            return true;
        };
        steps.removeHelpPage = [this] { log << QStringLiteral("remove help"); };
        lifecycle = std::make_unique<Lifecycle>(fx.window(), fx.dialogs, *fx.settings, steps);
    }
    WindowFixture fx;
    QStringList log;
    std::unique_ptr<Lifecycle> lifecycle;
};

} // namespace

void TestLifecycle::firstRunShowsDefaultsAndNoMessage()
{
    RecordingRun run;
    run.fx.window().setCurrentProfileTag(QStringLiteral("2"));
    run.lifecycle->startUp();

    QVERIFY(run.fx.dialogs.messages.isEmpty());
    QCOMPARE(run.log, QStringList({QStringLiteral("home"), QStringLiteral("pictures")}));
    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(run.fx.window().txtLocalPAD[i]->text(), QString());
    QCOMPARE(run.fx.window().currentProfileTag(), QStringLiteral("0"));
    QCOMPARE(run.fx.window().fieldText(Field::ProgName, 1), QStringLiteral("Program Name"));
    QCOMPARE(run.fx.window().fieldText(Field::PADURL, 2), QStringLiteral("PAD URL"));
}

void TestLifecycle::profileFileCheck_data()
{
    // Each path kind: "missing", "empty" (0 bytes), "pad" (non-empty), "none" (no path), "folder".
    QTest::addColumn<QStringList>("kinds");
    QTest::addColumn<QStringList>("expectedLog");
    QTest::addColumn<QList<int>>("reportedProfiles");

    QTest::newRow("first missing, second exists")
        << QStringList{QStringLiteral("missing"), QStringLiteral("pad"), QStringLiteral("none")}
        << QStringList{QStringLiteral("home"), QStringLiteral("pictures"),
                       QStringLiteral("load 1 after 1 messages")}
        << QList<int>{0};
    QTest::newRow("three missing")
        << QStringList{QStringLiteral("missing"), QStringLiteral("missing"),
                       QStringLiteral("missing")}
        << QStringList{QStringLiteral("home"), QStringLiteral("pictures")} << QList<int>{0, 1, 2};
    QTest::newRow("empty file is neither read nor reported")
        << QStringList{QStringLiteral("empty"), QStringLiteral("none"), QStringLiteral("pad")}
        << QStringList{QStringLiteral("home"), QStringLiteral("pictures"),
                       QStringLiteral("load 2 after 0 messages")}
        << QList<int>{};
    QTest::newRow("folder is reported like a missing file")
        << QStringList{QStringLiteral("folder"), QStringLiteral("none"), QStringLiteral("none")}
        << QStringList{QStringLiteral("home"), QStringLiteral("pictures")} << QList<int>{0};
}

void TestLifecycle::profileFileCheck()
{
    QFETCH(QStringList, kinds);
    QFETCH(QStringList, expectedLog);
    QFETCH(QList<int>, reportedProfiles);

    RecordingRun run;
    SettingsStore::Paths paths;
    for (int i = 0; i < ProfileCount; ++i) {
        const QString &kind = kinds[i];
        if (kind == QLatin1String("missing"))
            paths[i] = run.fx.dir.filePath(QStringLiteral("gone %1.xml").arg(i));
        else if (kind == QLatin1String("empty"))
            paths[i] = run.fx.makeFile(QStringLiteral("empty%1.xml").arg(i), {});
        else if (kind == QLatin1String("pad"))
            paths[i] = run.fx.makeFile(QStringLiteral("pad%1.xml").arg(i), "<XML_DIZ_INFO/>");
        else if (kind == QLatin1String("folder"))
            paths[i] = run.fx.dir.path();
    }
    run.fx.storePaths(paths);

    run.lifecycle->startUp();

    QCOMPARE(run.log, expectedLog);
    QCOMPARE(run.fx.dialogs.messages.size(), reportedProfiles.size());
    for (int m = 0; m < reportedProfiles.size(); ++m) {
        const auto &msg = run.fx.dialogs.messages[m];
        QCOMPARE(msg.text, QStringLiteral("Couldn't load Local PAD ") + paths[reportedProfiles[m]]);
        QCOMPARE(msg.title, QStringLiteral("Error"));
        QCOMPARE(msg.icon, QMessageBox::Warning);
        QCOMPARE(msg.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    // Every path stays in its box, reported or not.
    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(run.fx.window().txtLocalPAD[i]->text(), paths[i]);
    QCOMPARE(run.fx.window().currentProfileTag(), QStringLiteral("0"));
}

void TestLifecycle::corruptSettingsReadAsEmpty_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("whileRunning"); // damaged after start-up read it
    const QList<QPair<const char *, QByteArray>> damage{
        {"binary", QByteArray("\x00\xff\xfe[Settings\x01\x02=\x03", 15)},
        {"unclosed group", QByteArray("[Settings\ntxtLocalPAD0=/x.xml\n")},
        {"line without a key", QByteArray("[Settings]\njunk line\n")},
        {"not text", QByteArray("[Settings]\ntxtLocalPAD0=@Variant(\\0\\0\\0\\x7f)\n")},
    };
    for (const auto &[name, content] : damage) {
        QTest::addRow("%s, before start", name) << content << false;
        QTest::addRow("%s, while running", name) << content << true;
    }
}

void TestLifecycle::corruptSettingsReadAsEmpty()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, whileRunning);
    RecordingRun run;
    if (whileRunning)
        run.fx.storePaths({QString(), QString(), QString()});
    else
        run.fx.makeFile(QStringLiteral("Tarvelo.conf"), content);
    run.lifecycle->startUp();
    QVERIFY(run.fx.dialogs.messages.isEmpty());
    for (int i = 0; i < ProfileCount; ++i)
        QVERIFY(!run.fx.window().txtLocalPAD[i]->text().contains(u'\0'));
    if (whileRunning)
        run.fx.makeFile(QStringLiteral("Tarvelo.conf"), content);
    // The damaged file is replaced on the next save, without a word: nothing
    // in it could be read.
    run.fx.window().txtLocalPAD[1]->setText(QStringLiteral("/pads/one.xml"));
    QVERIFY(run.lifecycle->SaveSettings());
    QVERIFY2(run.fx.dialogs.messages.isEmpty(), qPrintable(run.fx.dialogs.messages.value(0).text));
    QCOMPARE(stored(run.fx.settingsFile(), 1), QStringLiteral("/pads/one.xml"));
}

void TestLifecycle::closeAnswerNoKeepsEverything()
{
    RecordingRun run;
    run.lifecycle->startUp();
    run.fx.window().txtLocalPAD[0]->setText(QStringLiteral("/typed/path.xml"));
    run.fx.dialogs.answers.enqueue(QMessageBox::No);

    QVERIFY(!run.lifecycle->confirmClose());

    const auto &msg = run.fx.dialogs.messages.last();
    QCOMPARE(msg.text, QStringLiteral("Are you sure?"));
    QCOMPARE(msg.title, QStringLiteral("Exit?"));
    QCOMPARE(msg.icon, QMessageBox::Question);
    QCOMPARE(msg.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(msg.defaultButton, QMessageBox::No);
    QVERIFY(!QFile::exists(run.fx.settingsFile()));
    QVERIFY(!run.log.contains(QStringLiteral("remove help")));
}

void TestLifecycle::closeAnswerYesStoresPathsAndRemovesHelpPage()
{
    RecordingRun run;
    run.lifecycle->startUp();
    const QStringList paths{QStringLiteral("/a b/c.xml"), QString(), QStringLiteral("/ü/x;y=z.XML")};
    for (int i = 0; i < ProfileCount; ++i)
        run.fx.window().txtLocalPAD[i]->setText(paths[i]);
    run.fx.dialogs.answers.enqueue(QMessageBox::Yes);

    QVERIFY(run.lifecycle->confirmClose());

    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(stored(run.fx.settingsFile(), i), paths[i]);
    QCOMPARE(run.log.last(), QStringLiteral("remove help"));
    QCOMPARE(run.fx.dialogs.messages.size(), 1);
}

void TestLifecycle::failedPathIsWrittenBackUnchanged()
{
    RecordingRun run;
    const QString missing = run.fx.dir.filePath(QStringLiteral("deleted since.xml"));
    run.fx.storePaths({missing, QString(), QString()});
    run.lifecycle->startUp();
    run.fx.dialogs.answers.enqueue(QMessageBox::Yes);
    QVERIFY(run.lifecycle->confirmClose());
    QCOMPARE(stored(run.fx.settingsFile(), 0), missing);
}

void TestLifecycle::unwritableSettingsAreReportedAndKept()
{
    // A settings folder that cannot exist: its parent is a plain file. This
    // fails for root too, unlike permission bits.
    WindowFixture fx;
    const QString blocker = fx.makeFile(QStringLiteral("blocker"), "x");
    SettingsStore unwritable(blocker + QStringLiteral("/Tarvelo/Tarvelo.conf"));
    Lifecycle lifecycle(fx.window(), fx.dialogs, unwritable, {});
    fx.window().txtLocalPAD[0]->setText(QStringLiteral("/keep/me.xml"));

    // Yes to "Are you sure?", then Cancel on the error: the window stays open.
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Cancel;
    QVERIFY(!lifecycle.confirmClose());
    QCOMPARE(fx.dialogs.messages.size(), 2);
    const auto &error = fx.dialogs.messages[1];
    QVERIFY2(error.text.contains(unwritable.fileName()), qPrintable(error.text));
    QCOMPARE(error.buttons, QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel);
    QCOMPARE(fx.window().txtLocalPAD[0]->text(), QStringLiteral("/keep/me.xml"));

    // Retry once the user has cleared the way: the paths are stored and the window closes.
    fx.dialogs.messages.clear();
    fx.dialogs.answers << QMessageBox::Yes << QMessageBox::Retry;
    fx.dialogs.onMessage = [&](const ScriptedDialogs::Message &m) {
        if (m.buttons.testFlag(QMessageBox::Retry))
            QFile::remove(blocker);
    };
    QVERIFY(lifecycle.confirmClose());
    QCOMPARE(fx.dialogs.messages.size(), 2);
    QCOMPARE(stored(unwritable.fileName(), 0), QStringLiteral("/keep/me.xml"));
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
