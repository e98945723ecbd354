#pragma once

#include "core/filling/KeyState.h"

#include <QObject>

#include <array>

class QKeyEvent;

namespace tarvelo {

// The key state the keyboard tick reads, kept from the application's own input
// events: an application-wide event filter watches presses and releases of the
// keypad keys, Ctrl, Alt and the right mouse button. It only watches, but for
// the press of a keypad shortcut while shortcuts are armed: that one stops here.
class KeyStateFilter : public QObject, public KeyState
{
    Q_OBJECT
public:
    // Installs itself on the application, which must exist.
    explicit KeyStateFilter(QObject *parent = nullptr);
    ~KeyStateFilter() override;

    std::uint16_t asyncKeyState(int virtualKey) override;
    bool hasActiveWindow() const override;

    // The virtual-key code of a key event, or 0 for a key the tick never reads.
    static int virtualKeyOf(const QKeyEvent &event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Key
    {
        bool down = false;
        bool pressedSinceReading = false;
        quint32 scanCode = 0;
        quint64 pressTime = 0;
    };

    bool isArmedShortcut(const QKeyEvent &event) const;
    void keyPressed(const QKeyEvent &event);
    void keyReleased(const QKeyEvent &event);
    void followModifiers(Qt::KeyboardModifiers modifiers);
    void releaseAll();
    Key *keyFor(int virtualKey);
    Key *downKeyWithScanCode(quint32 scanCode);
    static bool isOlderThanPress(quint64 time, const Key &key, bool sameTimeCounts);

    // Indexed by virtual-key code; the highest one read is keypad / (0x6F).
    std::array<Key, 0x70> m_keys{};
};

} // namespace tarvelo
