#pragma once

#include <cstdint>
#include <functional>

namespace tarvelo {

// Virtual-key codes of the keys the keyboard tick reads.
namespace vk {
constexpr int RightButton = 0x02;
constexpr int Return = 0x0D; // keypad Enter only: the main Enter is the page's
constexpr int Control = 0x11;
constexpr int Menu = 0x12; // Alt
constexpr int Numpad0 = 0x60;
constexpr int Numpad9 = 0x69;
constexpr int Multiply = 0x6A;
constexpr int Add = 0x6B;
constexpr int Divide = 0x6F;
} // namespace vk

// Asynchronous key state, as the keyboard tick reads it.
class KeyState
{
public:
    virtual ~KeyState() = default;
    // Bit 15 (0x8000): the key is down now. Bit 0 (0x0001): the key was pressed
    // since the previous reading of this same key; the reading clears it.
    virtual std::uint16_t asyncKeyState(int virtualKey) = 0;
    // Whether one of the program's windows is the active window.
    virtual bool hasActiveWindow() const = 0;

    // Told of each press the key state newly records, so that a reading need
    // not wait for the next tick.
    void setPressListener(std::function<void()> listener) { m_pressListener = std::move(listener); }

    // Asked whether a keypad shortcut pressed now acts (the browser holds the
    // focus): such a press is kept from the page, so its character never lands.
    void setShortcutsArmed(std::function<bool()> armed) { m_shortcutsArmed = std::move(armed); }

protected:
    bool shortcutsArmed() const { return m_shortcutsArmed && m_shortcutsArmed(); }

    void notifyPress()
    {
        if (m_pressListener)
            m_pressListener();
    }

private:
    std::function<void()> m_pressListener;
    std::function<bool()> m_shortcutsArmed;
};

} // namespace tarvelo
