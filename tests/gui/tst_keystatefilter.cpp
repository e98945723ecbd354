// The real key state: what the application's own input events make of it.
#include "gui/filling/KeyStateFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

// Keys in the scripts: c(trl), a(lt), r(ight button), e (keypad End: keypad 1
// with Num Lock off), n (the 1 of the main row), x (keypad Enter), 0..9, *, /
// of the keypad.
const QString names = u"car*/enx"_s;
const int virtualKeys[] = {vk::Control, vk::Menu, vk::RightButton, vk::Multiply, vk::Divide,
                           0,           0,        vk::Return};
const int qtKeys[] = {Qt::Key_Control, Qt::Key_Alt, 0,         Qt::Key_Asterisk,
                      Qt::Key_Slash,   Qt::Key_End, Qt::Key_1, Qt::Key_Enter};

int virtualKey(QChar k)
{
    return k.isDigit() ? vk::Numpad0 + k.digitValue() : virtualKeys[names.indexOf(k)];
}

} // namespace

class TestKeyStateFilter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_keys.reset(), m_window.reset(); }
    void scripts_data();
    void scripts();

private:
    void send(const QString &step);

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_edit = nullptr;
    QPushButton *m_button = nullptr;
    std::unique_ptr<KeyStateFilter> m_keys;
    Qt::KeyboardModifiers m_modifiers;
};

void TestKeyStateFilter::init()
{
    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    layout->addWidget(m_edit = new QLineEdit);
    layout->addWidget(m_button = new QPushButton(u"button"_s));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_edit->setFocus();
    m_keys = std::make_unique<KeyStateFilter>();
    m_modifiers = Qt::KeypadModifier;
}

// "+K" press, "-K" release, "rK" auto-repeat press, "^K" auto-repeat release,
// optionally followed by "@87" a scan code and "#500" a time. Sent as the
// platform does: to the window, which hands the same event on to its focus
// widget, so the filter sees it twice.
void TestKeyStateFilter::send(const QString &step)
{
    const QChar op = step[0], k = step[1];
    const int at = step.indexOf(u'@'), hash = step.indexOf(u'#');
    const quint32 scanCode = at < 0 ? 0 : step.mid(at + 1, hash < 0 ? -1 : hash - at - 1).toUInt();
    const bool press = op == u'+' || op == u'r';
    const int key = k.isDigit() ? Qt::Key_0 + k.digitValue() : qtKeys[names.indexOf(k)];
    if (k == u'c' || k == u'a')
        m_modifiers.setFlag(k == u'c' ? Qt::ControlModifier : Qt::AltModifier, press);
    const Qt::KeyboardModifiers keypad =
        k == u'c' || k == u'a' || k == u'n' ? Qt::KeypadModifier : Qt::NoModifier;
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, m_modifiers & ~keypad,
                    scanCode, 0, 0, k.isDigit() || k == u'n' ? QString(QChar(key)) : QString(),
                    op == u'r' || op == u'^');
    event.setTimestamp(hash < 0 ? 0 : step.mid(hash + 1).toULongLong());
    QCoreApplication::sendEvent(m_window->windowHandle(), &event);
}

void TestKeyStateFilter::scripts_data()
{
    // Besides the key steps: "?K=V" reads key K and expects hex V ("?K&8000=V"
    // the down bit only), "R+"/"R-" the right mouse button over the push
    // button, "=T" the line edit holds T, "W" the window goes, "m"/"mc" the
    // next key events carry no modifier/Ctrl, whatever went before, "A" the
    // keypad shortcuts are armed.
    QTest::addColumn<QString>("script");
    const auto row = [](const char *name, const char *script) {
        QTest::newRow(name) << QString::fromLatin1(script);
    };
    row("press fires once, held reads down", "+1 ?1=8001 ?1=8000 -1 ?1=0");
    row("press and release before the reading", "+1 -1 ?1=1 ?1=0");
    row("auto-repeat: its release keeps the key down, its press is new",
        "+1 ^1 ?1=8001 ?1=8000 ^1 r1 ?1=8001 ?1=8000");
    row("press handed back later, same time", "+1@87#500 ?1=8001 -1@87#560 +1@87#500 ?1=0");
    row("release handed back after the next press",
        "+1#500 ?1=8001 -1#560 +1#600 -1#560 ?1=8001 ?1=8000 -1#650 ?1=0");
    row("auto-repeat handed back", "+1#500 ?1=8001 r1#530 ?1=8001 r1#530 ?1=8000");
    row("clock wrapped round", "+1#4294967000 -1#4294967100 ?1=1 +1#20 ?1=8001 -1#90 ?1=0");
    row("* and /", "+* +/ ?*=8001 ?/=8001 -* ?*=0 ?/=8000");
    row("main row digit is not keypad", "+n ?1=0 -n");
    row("ctrl and alt held", "+c ?c=8001 ?c=8000 -c ?c=0 +a ?a=8001 -a ?a=0");
    row("release paired by scan code", "+1@87 ?1=8001 -e@87 ?1=0");
    row("another key's release leaves it down", "+1@87 -2@80 ?1=8001 ?1=8000");
    row("keypad keys still reach the widget", "+4 -4 +2 -2 =42");
    row("armed: shortcuts counted, kept from the widget", "A +4 -4 ?4=1 +c +7 ?7=8001 -7 -c +/ =");
    row("armed: keys that do nothing reach the widget", "A +c +1 -1 -c ?1=1 +n +e =11");
    row("right button counted once through the parents", "R+ ?r=8001 ?r=8000 R- ?r=0");
    row("alt let go elsewhere: the keypad key says so", "+a m +0 ?a&8000=0");
    row("ctrl pressed elsewhere: the keypad key says so", "mc +7 ?c&8000=8000");
    row("a key held while the program goes inactive is up", "+a W ?a=1");
}

void TestKeyStateFilter::scripts()
{
    QFETCH(QString, script);
    for (const QString &step : script.split(u' ')) {
        if (step[0] == u'?') {
            const int mask = step[2] == u'&' ? step.mid(3, 4).toInt(nullptr, 16) : 0xFFFF;
            const int value = m_keys->asyncKeyState(virtualKey(step[1])) & mask;
            QVERIFY2(value == step.section(u'=', 1).toInt(nullptr, 16),
                     qPrintable(step + u" read "_s + QString::number(value, 16)));
        } else if (step == u"A") {
            m_keys->setShortcutsArmed([] { return true; });
        } else if (step == u"W") {
            m_window->hide();
            QTRY_VERIFY(!m_keys->hasActiveWindow());
        } else if (step == u"R+") {
            QTest::mousePress(m_button, Qt::RightButton);
        } else if (step == u"R-") {
            QTest::mouseRelease(m_button, Qt::RightButton);
        } else if (step[0] == u'=') {
            QCOMPARE(m_edit->text(), step.mid(1));
        } else if (step[0] == u'm') {
            m_modifiers =
                Qt::KeypadModifier | (step == u"mc" ? Qt::ControlModifier : Qt::NoModifier);
        } else {
            send(step);
        }
    }
}

QTEST_MAIN(TestKeyStateFilter)
#include "tst_keystatefilter.moc"
