// The real key state: what the application's own input events make of it.
#include "filling/KeyState.h"
#include "filling/KeyStateFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

constexpr int Num1 = vk::Numpad0 + 1;

// One step of a script: "+1" press keypad 1, "-1" release it, "r1" an
// auto-repeat press, "^1" an auto-repeat release; keys "0".."9", "*", "/",
// "ctrl", "alt", "end" (keypad End, keypad 1 with Num Lock off), "main1" (the
// 1 of the main row). "@87" gives a scan code, "#500" a timestamp.
// "?1=8001" reads keypad 1 and expects the hex value.
struct Step
{
    QChar op;
    QString key;
    quint32 scanCode = 0;
    quint64 timestamp = 0;
    int expected = 0;
};

Step parse(const QString &text)
{
    Step step{text.at(0), text.mid(1)};
    if (const qsizetype eq = step.key.indexOf(u'='); eq >= 0) {
        step.expected = step.key.mid(eq + 1).toInt(nullptr, 16);
        step.key.truncate(eq);
    }
    if (const qsizetype hash = step.key.indexOf(u'#'); hash >= 0) {
        step.timestamp = step.key.mid(hash + 1).toULongLong();
        step.key.truncate(hash);
    }
    if (const qsizetype at = step.key.indexOf(u'@'); at >= 0) {
        step.scanCode = step.key.mid(at + 1).toUInt();
        step.key.truncate(at);
    }
    return step;
}

int virtualKey(const QString &key)
{
    if (key == u"ctrl")
        return vk::Control;
    if (key == u"alt")
        return vk::Menu;
    if (key == u"*")
        return vk::Multiply;
    if (key == u"/")
        return vk::Divide;
    return vk::Numpad0 + key.toInt();
}

int qtKey(const QString &key)
{
    if (key == u"ctrl")
        return Qt::Key_Control;
    if (key == u"alt")
        return Qt::Key_Alt;
    if (key == u"end")
        return Qt::Key_End;
    if (key == u"*")
        return Qt::Key_Asterisk;
    if (key == u"/")
        return Qt::Key_Slash;
    if (key.startsWith(u"main"))
        return Qt::Key_0 + key.mid(4).toInt();
    return Qt::Key_0 + key.toInt();
}

} // namespace

class TestKeyStateFilter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void scripts_data();
    void scripts();
    void keypadKeysStillReachTheWidget();
    void rightButtonCountedOnceThroughTheParents();
    void modifiersFollowTheKeypadKey();
    void activeWindow();

private:
    void send(const Step &step);

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_edit = nullptr;
    std::unique_ptr<KeyStateFilter> m_keys;
    Qt::KeyboardModifiers m_modifiers;
};

void TestKeyStateFilter::init()
{
    m_window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(m_window.get());
    m_edit = new QLineEdit(m_window.get());
    layout->addWidget(m_edit);
    layout->addWidget(new QPushButton(u"button"_s, m_window.get()));
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_edit->setFocus();
    m_keys = std::make_unique<KeyStateFilter>();
    m_modifiers = Qt::KeypadModifier;
}

void TestKeyStateFilter::cleanup()
{
    m_keys.reset();
    m_window.reset();
}

// Sends a key event as the platform does: to the window, which hands the same
// event on to its focus widget, so the filter sees it twice.
void TestKeyStateFilter::send(const Step &step)
{
    const bool press = step.op == u'+' || step.op == u'r';
    const bool repeat = step.op == u'r' || step.op == u'^';
    const int key = qtKey(step.key);
    if (key == Qt::Key_Control)
        m_modifiers.setFlag(Qt::ControlModifier, press);
    if (key == Qt::Key_Alt)
        m_modifiers.setFlag(Qt::AltModifier, press);
    Qt::KeyboardModifiers modifiers = m_modifiers;
    if (step.key.startsWith(u"main") || key == Qt::Key_Control || key == Qt::Key_Alt)
        modifiers &= ~Qt::KeypadModifier;
    const QString text =
        key >= Qt::Key_0 && key <= Qt::Key_9 ? QString(QChar(u'0' + key - Qt::Key_0)) : QString();
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, step.scanCode, 0,
                    0, text, repeat);
    event.setTimestamp(step.timestamp);
    QCoreApplication::sendEvent(m_window->windowHandle(), &event);
}

void TestKeyStateFilter::scripts_data()
{
    QTest::addColumn<QStringList>("script");

    QTest::newRow("untouched") << QStringList{u"?1=0"_s, u"?ctrl=0"_s};
    QTest::newRow("press fires once, held reads down")
        << QStringList{u"+1"_s, u"?1=8001"_s, u"?1=8000"_s, u"-1"_s, u"?1=0"_s};
    QTest::newRow("press and release before the reading")
        << QStringList{u"+1"_s, u"-1"_s, u"?1=1"_s, u"?1=0"_s};
    QTest::newRow("pressed again after release")
        << QStringList{u"+5"_s, u"?5=8001"_s, u"-5"_s, u"+5"_s, u"?5=8001"_s};
    QTest::newRow("auto-repeat is a new key-down")
        << QStringList{u"+1"_s, u"?1=8001"_s, u"^1"_s, u"r1"_s, u"?1=8001"_s, u"?1=8000"_s};
    QTest::newRow("auto-repeat release keeps the key down")
        << QStringList{u"+1"_s, u"^1"_s, u"?1=8001"_s, u"?1=8000"_s};
    QTest::newRow("a second press without release is the same press")
        << QStringList{u"+1"_s, u"?1=8001"_s, u"+1"_s, u"?1=8000"_s};
    QTest::newRow("press handed back later, same time")
        << QStringList{u"+1@87#500"_s, u"?1=8001"_s, u"-1@87#560"_s, u"+1@87#500"_s, u"?1=0"_s};
    QTest::newRow("release handed back after the next press")
        << QStringList{u"+1#500"_s,  u"?1=8001"_s, u"-1#560"_s, u"+1#600"_s, u"-1#560"_s,
                       u"?1=8001"_s, u"?1=8000"_s, u"-1#650"_s, u"?1=0"_s};
    QTest::newRow("auto-repeat handed back") << QStringList{
        u"+1#500"_s, u"?1=8001"_s, u"r1#530"_s, u"?1=8001"_s, u"r1#530"_s, u"?1=8000"_s};
    QTest::newRow("clock wrapped round")
        << QStringList{u"+1#4294967000"_s, u"-1#4294967100"_s, u"?1=1"_s, u"+1#20"_s,
                       u"?1=8001"_s,       u"-1#90"_s,         u"?1=0"_s};
    QTest::newRow("each key on its own")
        << QStringList{u"+1"_s, u"+2"_s, u"?2=8001"_s, u"-2"_s, u"?1=8001"_s, u"?2=0"_s};
    QTest::newRow("* and /") << QStringList{u"+*"_s, u"+/"_s,   u"?*=8001"_s, u"?/=8001"_s,
                                            u"-*"_s, u"?*=0"_s, u"?/=8000"_s};
    QTest::newRow("main row digit is not keypad")
        << QStringList{u"+main1"_s, u"?1=0"_s, u"-main1"_s};
    QTest::newRow("ctrl held") << QStringList{u"+ctrl"_s, u"?ctrl=8001"_s, u"?ctrl=8000"_s,
                                              u"-ctrl"_s, u"?ctrl=0"_s};
    QTest::newRow("alt held") << QStringList{u"+alt"_s, u"?alt=8001"_s, u"-alt"_s, u"?alt=0"_s};
    // Num Lock switched off while keypad 1 is down: it comes back up as End.
    QTest::newRow("release paired by scan code")
        << QStringList{u"+1@87"_s, u"?1=8001"_s, u"-end@87"_s, u"?1=0"_s};
    QTest::newRow("without scan code, by key")
        << QStringList{u"+3"_s, u"-3"_s, u"?3=1"_s, u"+3"_s, u"?3=8001"_s};
    QTest::newRow("another key's release leaves it down")
        << QStringList{u"+1@87"_s, u"-2@80"_s, u"?1=8001"_s, u"?1=8000"_s};
}

void TestKeyStateFilter::scripts()
{
    QFETCH(QStringList, script);
    for (const QString &text : script) {
        const Step step = parse(text);
        if (step.op == u'?') {
            const int value = m_keys->asyncKeyState(virtualKey(step.key));
            QVERIFY2(value == step.expected,
                     qPrintable(text + u" read "_s + QString::number(value, 16)));
        } else {
            send(step);
        }
    }
}

void TestKeyStateFilter::keypadKeysStillReachTheWidget()
{
    for (const char *step : {"+4", "-4", "+2", "-2"})
        send(parse(QString::fromLatin1(step)));
    QCOMPARE(m_edit->text(), u"42"_s);
}

void TestKeyStateFilter::rightButtonCountedOnceThroughTheParents()
{
    // A push button leaves the right button to its parents: one press all the same.
    auto *button = m_window->findChild<QPushButton *>();
    QTest::mousePress(button, Qt::RightButton);
    QCOMPARE(int(m_keys->asyncKeyState(vk::RightButton)), 0x8001);
    QCOMPARE(int(m_keys->asyncKeyState(vk::RightButton)), 0x8000);
    QTest::mouseRelease(button, Qt::RightButton);
    QCOMPARE(int(m_keys->asyncKeyState(vk::RightButton)), 0);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(int(m_keys->asyncKeyState(vk::RightButton)), 0);
}

void TestKeyStateFilter::modifiersFollowTheKeypadKey()
{
    // Alt went down here and came up while another program was active.
    send(parse(u"+alt"_s));
    m_modifiers = Qt::KeypadModifier;
    send(parse(u"+0"_s));
    QCOMPARE(int(m_keys->asyncKeyState(vk::Menu)) & 0x8000, 0);

    // Ctrl went down elsewhere: the keypad key says it is held.
    m_modifiers = Qt::KeypadModifier | Qt::ControlModifier;
    send(parse(u"+7"_s));
    QCOMPARE(int(m_keys->asyncKeyState(vk::Control)) & 0x8000, 0x8000);
}

void TestKeyStateFilter::activeWindow()
{
    QVERIFY(m_keys->hasActiveWindow());
    send(parse(u"+alt"_s));
    m_window->hide();
    QTRY_VERIFY(!m_keys->hasActiveWindow());
    // A key held while the program went inactive is no longer down.
    QCOMPARE(int(m_keys->asyncKeyState(vk::Menu)), 0x0001);
}

QTEST_MAIN(TestKeyStateFilter)
#include "tst_keystatefilter.moc"
