#pragma once

#include "core/profiles/ProfileFields.h"

namespace tarvelo {

class KeyState;

// One tick of the keypad timer tmrGetKey, as a decision only: it reads the key
// state in a fixed order (each reading clears that key's pressed bit) and says
// what the window should do. It touches nothing else.
class KeyTick
{
public:
    enum class Modifier { None, Ctrl, Alt };

    struct Action
    {
        enum class Kind {
            Nothing,
            OpenMenu,
            PasteField,
            ClickFieldButton,
            OpenNextSite,
            FillForm,
        };

        Kind kind = Kind::Nothing;
        Field field = Field::PADURL; // PasteField: which field...
        int profile = 0;             // ...of which profile
        int key = 0;                 // ClickFieldButton: the keypad key whose button to press

        static Action nothing() { return {}; }
        static Action openMenu() { return {Kind::OpenMenu}; }
        static Action fillForm() { return {Kind::FillForm}; }
        static Action paste(Field f, int p) { return {Kind::PasteField, f, p}; }
        static Action clickFieldButton(int k)
        {
            return {Kind::ClickFieldButton, Field::PADURL, 0, k};
        }
        static Action openNextSite() { return {Kind::OpenNextSite}; }

        bool operator==(const Action &) const = default;
    };

    // Value of a reading that fires: down now and newly pressed.
    static constexpr int Fired = 0x8001;

    static Action run(KeyState &keys, int currentProfile, bool browserHasFocus);

    // The action table, once the key and the modifier are known. Keypad /,
    // keypad + and keypad Enter ignore the modifier.
    static Action decide(Modifier modifier, int key, int currentProfile);

    // Whether the keypad key does something with this modifier: such a press
    // is the program's and never types into the page.
    static bool isShortcut(Modifier modifier, int key);

    // The modifier of held Ctrl and Alt keys: with both, Alt wins.
    static Modifier modifierOf(bool ctrlHeld, bool altHeld);

    static int nextProfile(int profile) { return (profile + 1) % ProfileCount; }
    static int previousProfile(int profile) { return (profile + 2) % ProfileCount; }

private:
    static Modifier readModifier(KeyState &keys);
    static int readFieldKey(KeyState &keys);
};

} // namespace tarvelo
