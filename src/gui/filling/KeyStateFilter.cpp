#include "gui/filling/KeyStateFilter.h"

#include "core/filling/KeyTick.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace tarvelo {

KeyStateFilter::KeyStateFilter(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

KeyStateFilter::~KeyStateFilter()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

std::uint16_t KeyStateFilter::asyncKeyState(int virtualKey)
{
    Key *key = keyFor(virtualKey);
    if (!key)
        return 0;
    const std::uint16_t value = (key->down ? 0x8000 : 0) | (key->pressedSinceReading ? 0x0001 : 0);
    key->pressedSinceReading = false;
    return value;
}

bool KeyStateFilter::hasActiveWindow() const
{
    return QApplication::activeWindow() != nullptr;
}

int KeyStateFilter::virtualKeyOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Control)
        return vk::Control;
    if (key == Qt::Key_Alt)
        return vk::Menu;
    if (!event.modifiers().testFlag(Qt::KeypadModifier))
        return 0;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return vk::Numpad0 + (key - Qt::Key_0);
    if (key == Qt::Key_Asterisk)
        return vk::Multiply;
    if (key == Qt::Key_Slash)
        return vk::Divide;
    if (key == Qt::Key_Plus)
        return vk::Add;
    if (key == Qt::Key_Enter)
        return vk::Return;
    return 0;
}

// Every object of the program passes through here, the browser engine's own
// among them. Those are built without run-time type information, which the
// undefined-behaviour sanitizer's type check mistakes for a broken object.
__attribute__((no_sanitize("vptr"))) bool KeyStateFilter::eventFilter(QObject *watched,
                                                                      QEvent *event)
{
    // A key let go while another program is active never reports its release
    // here (Alt after Alt+Tab, say): forget what is down when no window of
    // ours is active any more.
    if (event->type() == QEvent::ActivationChange && !hasActiveWindow()) {
        releaseAll();
        return false;
    }
    // A shortcut's press is taken where it first shows: held back from the
    // window, it never reaches the widget.
    if (event->type() == QEvent::KeyPress && isArmedShortcut(*static_cast<QKeyEvent *>(event))) {
        keyPressed(*static_cast<QKeyEvent *>(event));
        return true;
    }
    // Input reaches the application twice, once for the window and once for
    // the widget; the widget's copy is the one to count.
    if (!watched->isWidgetType())
        return false;

    switch (event->type()) {
    case QEvent::KeyPress:
        keyPressed(*static_cast<QKeyEvent *>(event));
        break;
    case QEvent::KeyRelease:
        keyReleased(*static_cast<QKeyEvent *>(event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            break;
        Key &button = m_keys[vk::RightButton];
        const bool press = event->type() == QEvent::MouseButtonPress;
        // A press a child ignores is handed to each parent in turn: count it once.
        const bool newPress = press && !button.down;
        if (newPress)
            button.pressedSinceReading = true;
        button.down = press;
        if (newPress)
            notifyPress();
        break;
    }
    default:
        break;
    }
    return false;
}

bool KeyStateFilter::isArmedShortcut(const QKeyEvent &event) const
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const KeyTick::Modifier modifier = KeyTick::modifierOf(modifiers.testFlag(Qt::ControlModifier),
                                                           modifiers.testFlag(Qt::AltModifier));
    return KeyTick::isShortcut(modifier, virtualKeyOf(event)) && shortcutsArmed();
}

void KeyStateFilter::keyPressed(const QKeyEvent &event)
{
    const int virtualKey = virtualKeyOf(event);
    if (virtualKey == 0)
        return;
    Key &key = m_keys[virtualKey];
    if (isOlderThanPress(event.timestamp(), key, true))
        return;
    if (virtualKey != vk::Control && virtualKey != vk::Menu)
        followModifiers(event.modifiers());

    // The same press handed up to a parent widget that the child left it to.
    // Only the platform's auto-repeat is a new key-down while the key is down.
    if (key.down && !event.isAutoRepeat())
        return;
    key.down = true;
    key.pressedSinceReading = true;
    key.scanCode = event.nativeScanCode();
    key.pressTime = event.timestamp();
    notifyPress();
}

void KeyStateFilter::keyReleased(const QKeyEvent &event)
{
    if (event.isAutoRepeat())
        return; // the key is still held
    Key *key = downKeyWithScanCode(event.nativeScanCode());
    if (!key)
        key = keyFor(virtualKeyOf(event));
    if (key && !isOlderThanPress(event.timestamp(), *key, false))
        key->down = false;
}

KeyStateFilter::Key *KeyStateFilter::downKeyWithScanCode(quint32 scanCode)
{
    // Num Lock can change the key between press and release; the physical key,
    // its scan code, stays the same. Offscreen events carry none.
    if (scanCode == 0)
        return nullptr;
    for (Key &key : m_keys) {
        if (key.down && key.scanCode == scanCode)
            return &key;
    }
    return nullptr;
}

bool KeyStateFilter::isOlderThanPress(quint64 time, const Key &key, bool sameTimeCounts)
{
    // The browser hands key events the page did not use back to the window,
    // a little later: a copy of a press already counted, or a release that
    // belongs to an earlier press than the one now holding the key down.
    // Times are the platform's milliseconds; a huge gap is a wrap-around.
    if (time == 0 || key.pressTime == 0 || time > key.pressTime)
        return false;
    if (time == key.pressTime)
        return sameTimeCounts;
    return key.pressTime - time < 60000;
}

void KeyStateFilter::followModifiers(Qt::KeyboardModifiers modifiers)
{
    // A keypad key carries the true modifier state, even for a Ctrl or Alt
    // pressed or let go while the program was not active.
    m_keys[vk::Control].down = modifiers.testFlag(Qt::ControlModifier);
    m_keys[vk::Menu].down = modifiers.testFlag(Qt::AltModifier);
}

void KeyStateFilter::releaseAll()
{
    for (Key &key : m_keys)
        key.down = false;
}

KeyStateFilter::Key *KeyStateFilter::keyFor(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey >= int(m_keys.size()))
        return nullptr;
    return &m_keys[virtualKey];
}

} // namespace tarvelo
