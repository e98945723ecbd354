#include "filling/KeyState.h"
#include "filling/KeyTick.h"

#include <QTest>

#include <map>

using namespace Qt::StringLiterals;
using namespace tarvelo;
using Action = KeyTick::Action;

namespace tarvelo {
char *toString(const KeyTick::Action &a)
{
    const char *kinds[] = {"Nothing", "OpenMenu", "PasteField", "ClickFieldButton"};
    return qstrdup(QByteArray(kinds[int(a.kind)]) + " field=" + fieldSpec(a.field).name.toLatin1() +
                   " profile=" + QByteArray::number(a.profile) + " key=0x" +
                   QByteArray::number(a.key, 16));
}
} // namespace tarvelo

namespace {

constexpr int Num1 = vk::Numpad0 + 1;
constexpr int Num5 = vk::Numpad0 + 5;
constexpr int Num7 = vk::Numpad0 + 7;
constexpr int Num8 = vk::Numpad0 + 8;

// Key state as a test sets it: a value per key, a record of every reading, and
// the pressed bit cleared by each reading, as the platform does.
class ScriptedKeyState : public KeyState
{
public:
    std::map<int, std::uint16_t> values;
    QList<int> readings;
    bool activeWindow = true;

    void press(int key) { values[key] = 0x8001; }
    void hold(int key) { values[key] = 0x8000; }
    void tap(int key) { values[key] = 0x0001; }

    std::uint16_t asyncKeyState(int virtualKey) override
    {
        readings.append(virtualKey);
        const std::uint16_t value = values[virtualKey];
        values[virtualKey] = value & 0x8000;
        return value;
    }
    bool hasActiveWindow() const override { return activeWindow; }
};

// Keys as the tests name them: "ctrl", "alt", "rbutton", "0".."9", "*", "/".
int keyCode(const QString &name)
{
    if (name == u"ctrl")
        return vk::Control;
    if (name == u"alt")
        return vk::Menu;
    if (name == u"rbutton")
        return vk::RightButton;
    if (name == u"*")
        return vk::Multiply;
    if (name == u"/")
        return vk::Divide;
    return vk::Numpad0 + name.toInt();
}

// The full reading order of a tick in which nothing fires.
QList<int> allReadings()
{
    QList<int> keys{vk::RightButton, vk::Divide, vk::Control, vk::Menu};
    for (int key = vk::Numpad0; key <= vk::Multiply; ++key)
        keys.append(key);
    return keys;
}

Action button(const QString &key)
{
    return Action::clickFieldButton(keyCode(key));
}

} // namespace

class TestKeyTick : public QObject
{
    Q_OBJECT
private slots:
    void shortcutTable_data();
    void shortcutTable();
    void readingOrder_data();
    void readingOrder();
    void twoKeysInOneTick();
    void secondKeyReleasedBeforeItsTickIsDropped();
    void heldKeyFiresOnceNewPressFiresAgain();
    void pressWithoutBrowserFocusIsDropped();
    void rightClickWithoutBrowserFocusIsReadAndIgnored();
    void noActiveWindowReadsNothing();
    void profileRing_data();
    void profileRing();
};

void TestKeyTick::shortcutTable_data()
{
    QTest::addColumn<QStringList>("pressed"); // newly pressed: 0x8001
    QTest::addColumn<QStringList>("held");    // down, no new press: 0x8000
    QTest::addColumn<int>("profile");
    QTest::addColumn<Action>("expected");

    const QStringList none;
    const QStringList ctrl{u"ctrl"_s};
    const QStringList alt{u"alt"_s};
    const QStringList ctrlAlt{u"ctrl"_s, u"alt"_s};

    // Alone: every keypad key presses its button, except 0 which pastes directly.
    QTest::newRow("0") << QStringList{u"0"_s} << none << 1 << Action::paste(Field::PADURL, 1);
    for (const char *key : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "/"}) {
        const QString name = QString::fromLatin1(key);
        QTest::newRow(key) << QStringList{name} << none << 0 << button(name);
    }

    // With Ctrl.
    QTest::newRow("ctrl+7 keywords")
        << QStringList{u"7"_s} << ctrl << 2 << Action::paste(Field::Keywords, 2);
    QTest::newRow("ctrl+8 second url")
        << QStringList{u"8"_s} << ctrl << 1 << Action::paste(Field::SecURL, 1);
    QTest::newRow("ctrl+0 next profile")
        << QStringList{u"0"_s} << ctrl << 0 << Action::paste(Field::PADURL, 1);
    QTest::newRow("ctrl+0 next of 2 is 0")
        << QStringList{u"0"_s} << ctrl << 2 << Action::paste(Field::PADURL, 0);
    for (const char *key : {"1", "2", "3", "4", "5", "6", "9", "*"})
        QTest::newRow(qPrintable(u"ctrl+"_s + QLatin1String(key) + u" nothing"_s))
            << QStringList{QString::fromLatin1(key)} << ctrl << 0 << Action::nothing();
    QTest::newRow("ctrl+/ short desc, modifiers not read")
        << QStringList{u"/"_s} << ctrl << 0 << button(u"/"_s);
    // Ctrl pressed in this very tick counts as held.
    QTest::newRow("ctrl pressed now +7")
        << QStringList{u"ctrl"_s, u"7"_s} << none << 0 << Action::paste(Field::Keywords, 0);

    // With Alt, or Ctrl and Alt: Alt wins.
    QTest::newRow("alt+0 previous profile")
        << QStringList{u"0"_s} << alt << 0 << Action::paste(Field::PADURL, 2);
    QTest::newRow("ctrl+alt+0 previous profile")
        << QStringList{u"0"_s} << ctrlAlt << 1 << Action::paste(Field::PADURL, 0);
    QTest::newRow("alt+5 file size") << QStringList{u"5"_s} << alt << 0 << button(u"5"_s);
    QTest::newRow("alt+7 home page") << QStringList{u"7"_s} << alt << 0 << button(u"7"_s);
    QTest::newRow("ctrl+alt+8 first url") << QStringList{u"8"_s} << ctrlAlt << 0 << button(u"8"_s);
    QTest::newRow("alt+* long desc") << QStringList{u"*"_s} << alt << 0 << button(u"*"_s);
    QTest::newRow("alt+/ short desc") << QStringList{u"/"_s} << alt << 0 << button(u"/"_s);

    // The right button opens the menu whatever else is down.
    QTest::newRow("right button") << QStringList{u"rbutton"_s} << none << 0 << Action::openMenu();
    QTest::newRow("right button beats keypad 1")
        << QStringList{u"rbutton"_s, u"1"_s} << ctrl << 0 << Action::openMenu();

    // Nothing fires.
    QTest::newRow("nothing down") << none << none << 0 << Action::nothing();
    QTest::newRow("modifiers only") << ctrlAlt << none << 0 << Action::nothing();
    QTest::newRow("keypad 1 held, not new")
        << none << QStringList{u"1"_s} << 0 << Action::nothing();
    QTest::newRow("right button held, not new")
        << none << QStringList{u"rbutton"_s} << 0 << Action::nothing();
}

void TestKeyTick::shortcutTable()
{
    QFETCH(QStringList, pressed);
    QFETCH(QStringList, held);
    QFETCH(int, profile);
    QFETCH(Action, expected);

    ScriptedKeyState keys;
    for (const QString &key : held)
        keys.hold(keyCode(key));
    for (const QString &key : pressed)
        keys.press(keyCode(key));

    QCOMPARE(KeyTick::run(keys, profile, true), expected);
}

void TestKeyTick::readingOrder_data()
{
    QTest::addColumn<QStringList>("pressed");
    QTest::addColumn<bool>("browserHasFocus");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> all = allReadings();
    QTest::newRow("nothing pressed: all fifteen") << QStringList{} << true << all;
    QTest::newRow("right button ends the tick")
        << QStringList{u"rbutton"_s, u"1"_s} << true << QList<int>{vk::RightButton};
    QTest::newRow("right button without focus goes on")
        << QStringList{u"rbutton"_s} << false << all;
    QTest::newRow("keypad / skips the modifiers") << QStringList{u"/"_s, u"ctrl"_s, u"3"_s} << true
                                                  << QList<int>{vk::RightButton, vk::Divide};
    QTest::newRow("keypad 3 stops the loop")
        << QStringList{u"3"_s, u"4"_s, u"*"_s} << true
        << QList<int>{vk::RightButton, vk::Divide,      vk::Control,     vk::Menu,
                      vk::Numpad0,     vk::Numpad0 + 1, vk::Numpad0 + 2, vk::Numpad0 + 3};
    QTest::newRow("keypad * is read last") << QStringList{u"*"_s} << true << all;
    QTest::newRow("without focus the keys are still read")
        << QStringList{u"0"_s} << false
        << QList<int>{vk::RightButton, vk::Divide, vk::Control, vk::Menu, vk::Numpad0};
}

void TestKeyTick::readingOrder()
{
    QFETCH(QStringList, pressed);
    QFETCH(bool, browserHasFocus);
    QFETCH(QList<int>, expected);

    ScriptedKeyState keys;
    for (const QString &key : pressed)
        keys.press(keyCode(key));
    KeyTick::run(keys, 0, browserHasFocus);
    QCOMPARE(keys.readings, expected);
}

void TestKeyTick::twoKeysInOneTick()
{
    ScriptedKeyState keys;
    keys.press(Num5);
    keys.press(Num1);

    QCOMPARE(KeyTick::run(keys, 0, true), button(u"1"_s));
    QVERIFY(!keys.readings.contains(Num5));
    QCOMPARE(int(keys.values[Num5]), 0x8001); // waits for the next tick

    QCOMPARE(KeyTick::run(keys, 0, true), button(u"5"_s));
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
}

void TestKeyTick::secondKeyReleasedBeforeItsTickIsDropped()
{
    ScriptedKeyState keys;
    keys.press(Num7);
    keys.press(Num8);
    QCOMPARE(KeyTick::run(keys, 0, true), button(u"7"_s));

    keys.values[Num8] = 0x0001; // let go before the next tick: pressed, no longer down
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
    QCOMPARE(int(keys.values[Num8]), 0); // and the press is gone
}

void TestKeyTick::heldKeyFiresOnceNewPressFiresAgain()
{
    ScriptedKeyState keys;
    keys.press(Num1);
    QCOMPARE(KeyTick::run(keys, 0, true), button(u"1"_s));
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing()); // still down: 0x8000
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());

    keys.press(Num1); // a new key-down, or the platform's auto-repeat
    QCOMPARE(KeyTick::run(keys, 0, true), button(u"1"_s));

    keys.tap(Num1); // pressed and released between two readings
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
}

void TestKeyTick::pressWithoutBrowserFocusIsDropped()
{
    ScriptedKeyState keys;
    keys.press(Num1);
    QCOMPARE(KeyTick::run(keys, 0, false), Action::nothing());
    // The browser takes the focus while the key is still down: no late paste.
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
}

void TestKeyTick::rightClickWithoutBrowserFocusIsReadAndIgnored()
{
    ScriptedKeyState keys;
    keys.press(vk::RightButton);
    QCOMPARE(KeyTick::run(keys, 0, false), Action::nothing());
    QCOMPARE(keys.readings.first(), vk::RightButton);
    QCOMPARE(int(keys.values[vk::RightButton]), 0x8000);
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
}

void TestKeyTick::noActiveWindowReadsNothing()
{
    ScriptedKeyState keys;
    keys.activeWindow = false;
    keys.press(vk::RightButton);
    keys.press(Num1);
    QCOMPARE(KeyTick::run(keys, 0, true), Action::nothing());
    QVERIFY(keys.readings.isEmpty());

    // The presses are still there when the window is active again.
    keys.activeWindow = true;
    QCOMPARE(KeyTick::run(keys, 0, true), Action::openMenu());
    QCOMPARE(KeyTick::run(keys, 0, true), button(u"1"_s));
}

void TestKeyTick::profileRing_data()
{
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");
    QTest::newRow("0") << 0 << 1 << 2;
    QTest::newRow("1") << 1 << 2 << 0;
    QTest::newRow("2") << 2 << 0 << 1;
}

void TestKeyTick::profileRing()
{
    QFETCH(int, profile);
    QFETCH(int, next);
    QFETCH(int, previous);
    QCOMPARE(KeyTick::decide(KeyTick::Modifier::None, vk::Numpad0, profile),
             Action::paste(Field::PADURL, profile));
    QCOMPARE(KeyTick::decide(KeyTick::Modifier::Ctrl, vk::Numpad0, profile),
             Action::paste(Field::PADURL, next));
    QCOMPARE(KeyTick::decide(KeyTick::Modifier::Alt, vk::Numpad0, profile),
             Action::paste(Field::PADURL, previous));
}

QTEST_GUILESS_MAIN(TestKeyTick)
#include "tst_keytick.moc"
