#include "core/filling/KeyTick.h"

#include "core/filling/KeyState.h"

namespace tarvelo {

namespace {

bool isHeld(int value)
{
    return value == 0x8000 || value == KeyTick::Fired;
}

} // namespace

KeyTick::Action KeyTick::run(KeyState &keys, int currentProfile, bool browserHasFocus)
{
    if (!keys.hasActiveWindow())
        return Action::nothing();

    // The right button is read even without the browser's focus, which drops
    // a click made elsewhere in the window.
    if (keys.asyncKeyState(vk::RightButton) == Fired && browserHasFocus)
        return Action::openMenu();

    // Keypad / is read first and ignores the modifiers, so Ctrl + / still
    // pastes the short description.
    Modifier modifier = Modifier::None;
    int key = vk::Divide;
    if (keys.asyncKeyState(vk::Divide) != Fired) {
        modifier = readModifier(keys);
        key = readFieldKey(keys);
        if (key == 0)
            return Action::nothing();
    }

    if (!browserHasFocus)
        return Action::nothing();
    return decide(modifier, key, currentProfile);
}

KeyTick::Modifier KeyTick::readModifier(KeyState &keys)
{
    Modifier modifier = Modifier::None;
    if (isHeld(keys.asyncKeyState(vk::Control)))
        modifier = Modifier::Ctrl;
    // Read even when Ctrl is held: with both, Alt wins.
    if (isHeld(keys.asyncKeyState(vk::Menu)))
        modifier = Modifier::Alt;
    return modifier;
}

int KeyTick::readFieldKey(KeyState &keys)
{
    // Stop at the first key that fires: the keys above it keep their pressed
    // bit for a later tick.
    for (int key = vk::Numpad0; key <= vk::Multiply; ++key) {
        if (keys.asyncKeyState(key) == Fired)
            return key;
    }
    return 0;
}

KeyTick::Action KeyTick::decide(Modifier modifier, int key, int currentProfile)
{
    switch (modifier) {
    case Modifier::Ctrl:
        if (key == vk::Numpad0 + 7)
            return Action::paste(Field::Keywords, currentProfile);
        if (key == vk::Numpad0 + 8)
            return Action::paste(Field::SecURL, currentProfile);
        if (key == vk::Numpad0)
            return Action::paste(Field::PADURL, nextProfile(currentProfile));
        return Action::nothing();
    case Modifier::Alt:
        if (key == vk::Numpad0)
            return Action::paste(Field::PADURL, previousProfile(currentProfile));
        return Action::clickFieldButton(key);
    case Modifier::None:
        // Keypad 0 pastes straight away, the others press their button.
        if (key == vk::Numpad0)
            return Action::paste(Field::PADURL, currentProfile);
        return Action::clickFieldButton(key);
    }
    return Action::nothing();
}

} // namespace tarvelo
