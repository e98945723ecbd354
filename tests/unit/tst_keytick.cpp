#include "ScriptedKeyState.h"
#include "core/filling/KeyTick.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;
using Action = KeyTick::Action;

namespace {

// Keys as the tests write them: r(ight button), c(trl), a(lt), 0..9, *, /, +,
// e (keypad Enter).
QList<int> keyCodes(const QString &names)
{
    QList<int> codes;
    for (QChar c : names) {
        const qsizetype other = u"rca*/+e"_s.indexOf(c);
        const int otherCodes[] = {vk::RightButton, vk::Control, vk::Menu,  vk::Multiply,
                                  vk::Divide,      vk::Add,     vk::Return};
        codes << (other < 0 ? vk::Numpad0 + c.digitValue() : otherCodes[other]);
    }
    return codes;
}

// An action as the tests write it: "-" nothing, "m" the menu, "n" the next
// site, "f" fill the form, "b7" the field button of keypad 7, "Keywords2" a
// paste of profile 2's Keywords.
QString describe(const Action &a)
{
    switch (a.kind) {
    case Action::Kind::ClickFieldButton:
        return u"b"_s + u"0123456789*..../"_s.at(a.key - vk::Numpad0);
    case Action::Kind::PasteField:
        return fieldSpec(a.field).name.mid(3) + QString::number(a.profile);
    case Action::Kind::OpenMenu:
        return u"m"_s;
    case Action::Kind::OpenNextSite:
        return u"n"_s;
    case Action::Kind::FillForm:
        return u"f"_s;
    default:
        return u"-"_s;
    }
}

} // namespace

class TestKeyTick : public QObject
{
    Q_OBJECT
private slots:
    void ticks_data();
    void ticks();
};

void TestKeyTick::ticks_data()
{
    // "+K" press K (0x8001), "hK" hold it (0x8000), "tK" tap it (0x0001: down and
    // up between two readings), "pN" profile N is current, "f-"/"f+" browser
    // focus, "w-"/"w+" active window, "=A" one tick gives action A, "?K=V" key
    // K's state is hex V, "@KEYS" the keys read so far, in order.
    QTest::addColumn<QString>("steps");
    const auto row = [](const QString &name, const QString &steps) {
        QTest::newRow(qPrintable(name)) << steps;
    };
    // Alone: every keypad key presses its button, except 0 which pastes directly.
    row(u"0"_s, u"p1 +0 =PADURL1"_s);
    for (QChar key : u"123456789*/"_s)
        row(key, u"+%1 =b%1"_s.arg(key));
    // Ctrl: two fields of their own, the next profile's PAD URL, nothing else.
    row(u"ctrl+7"_s, u"p2 hc +7 =Keywords2"_s);
    row(u"ctrl pressed in the same tick counts"_s, u"+c +7 =Keywords0"_s);
    row(u"ctrl+8"_s, u"p1 hc +8 =SecURL1"_s);
    row(u"ctrl+0 from 0"_s, u"hc +0 =PADURL1"_s);
    row(u"ctrl+0 from 2"_s, u"p2 hc +0 =PADURL0"_s);
    for (QChar key : u"123456*"_s)
        row(u"ctrl+"_s + key, u"hc +%1 =-"_s.arg(key));
    row(u"ctrl+/ reads no modifier"_s, u"hc +/ =b/ @r/"_s);
    // Alt, or Ctrl and Alt: Alt wins; the previous profile's PAD URL.
    row(u"alt+0 from 0"_s, u"ha +0 =PADURL2"_s);
    row(u"alt+0 from 2"_s, u"p2 ha +0 =PADURL1"_s);
    row(u"ctrl+alt+0 from 1"_s, u"p1 hc ha +0 =PADURL0"_s);
    row(u"alt+5"_s, u"ha +5 =b5"_s);
    row(u"ctrl+alt+8"_s, u"hc ha +8 =b8"_s);
    // The right button opens the menu whatever else is down, and ends the tick.
    row(u"right button"_s, u"+r +1 hc =m @r"_s);
    row(u"nothing pressed: all seventeen read"_s, u"=- @r/eca0123456789*+"_s);
    // Keypad + opens the next site, whatever the modifier; the field keys first.
    row(u"+"_s, u"p2 ++ =n"_s);
    row(u"ctrl or alt with +"_s, u"hc ++ =n ha ++ =n"_s);
    row(u"+ after a field key"_s, u"++ +9 =b9 =n =-"_s);
    row(u"+ without focus"_s, u"f- ++ =- f+ =-"_s);
    row(u"modifiers only"_s, u"+c +a =-"_s);
    // Keypad Enter fills the form, whatever modifier is held; / comes first.
    row(u"enter"_s, u"+e =f @r/e"_s);
    row(u"ctrl+alt+enter reads no modifier"_s, u"hc ha +e =f @r/e"_s);
    row(u"/ and enter in one tick"_s, u"+/ +e =b/ =f =-"_s);
    row(u"enter without focus: read, dropped"_s, u"f- +e =- ?e=8000 f+ =-"_s);
    row(u"held, not new"_s, u"h1 hr =-"_s);
    row(u"keypad 3 stops the loop"_s, u"+3 +4 +* =b3 @r/eca0123 =b4 =b* =-"_s);
    row(u"second key let go before its tick"_s, u"+7 +8 =b7 t8 =- ?8=0"_s);
    row(u"held key fires once, a new press again"_s, u"+1 =b1 =- +1 =b1 t1 =-"_s);
    row(u"without focus: read, dropped"_s, u"f- +0 =- @r/eca0 f+ =-"_s);
    row(u"right click without focus"_s, u"f- +r =- ?r=8000 @r/eca0123456789*+ f+ =-"_s);
    row(u"no active window: nothing read"_s, u"w- +r +1 =- @ w+ =m =b1"_s);
}

void TestKeyTick::ticks()
{
    QFETCH(QString, steps);
    ScriptedKeyState keys;
    bool focus = true;
    int profile = 0;
    for (const QString &step : steps.split(u' ')) {
        const QChar op = step[0];
        const QString arg = step.mid(1);
        const int key = keyCodes(arg.left(1)).value(0);
        if (u"+ht"_s.contains(op))
            keys.keys[key] = op == u'+' ? 0x8001 : op == u'h' ? 0x8000 : 0x0001;
        else if (op == u'p')
            profile = arg.toInt();
        else if (op == u'f' || op == u'w')
            (op == u'f' ? focus : keys.activeWindow) = arg == u"+";
        else if (op == u'?')
            QCOMPARE(keys.keys.value(key), arg.mid(2).toUShort(nullptr, 16));
        else if (op == u'@')
            QCOMPARE(keys.readings, keyCodes(arg));
        else
            QCOMPARE(describe(KeyTick::run(keys, profile, focus)), arg);
    }
}

QTEST_GUILESS_MAIN(TestKeyTick)
#include "tst_keytick.moc"
