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

    // Keypad / and Enter are read first and ignore the modifiers, so Ctrl + /
    // still pastes the short description.
    Modifier modifier = Modifier::None;
    int key = vk::Divide;
    if (keys.asyncKeyState(vk::Divide) == Fired) {
        key = vk::Divide;
    } else if (keys.asyncKeyState(vk::Return) == Fired) {
        key = vk::Return;
    } else {
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
    // Alt is read even when Ctrl is held.
    const bool ctrl = isHeld(keys.asyncKeyState(vk::Control));
    const bool alt = isHeld(keys.asyncKeyState(vk::Menu));
    return modifierOf(ctrl, alt);
}

KeyTick::Modifier KeyTick::modifierOf(bool ctrlHeld, bool altHeld)
{
    if (altHeld)
        return Modifier::Alt;
    return ctrlHeld ? Modifier::Ctrl : Modifier::None;
}

bool KeyTick::isShortcut(Modifier modifier, int key)
{
    return decide(modifier, key, 0).kind != Action::Kind::Nothing;
}

int KeyTick::readFieldKey(KeyState &keys)
{
    // Stop at the first key that fires: the keys above it keep their pressed
    // bit for a later tick.
    for (int key = vk::Numpad0; key <= vk::Add; ++key) {
        if (keys.asyncKeyState(key) == Fired)
            return key;
    }
    return 0;
}

KeyTick::Action KeyTick::decide(Modifier modifier, int key, int currentProfile)
{
    if (key == vk::Add)
        return Action::openNextSite();
    if (key == vk::Return)
        return Action::fillForm();
    if (key < vk::Numpad0 || (key > vk::Multiply && key != vk::Divide))
        return Action::nothing(); // not a field key
    if (key == vk::Divide)
        modifier = Modifier::None;
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
