#pragma once

#include "core/profiles/ProfileFields.h"

#include <QString>

#include <array>
#include <optional>

namespace tarvelo {

// One of the twelve field buttons: it pastes its field of the current profile.
// The window builds the buttons from this table, the filling panel wires them
// and the tab order follows it. A button's caption is also its spoken name.
struct FieldButtonSpec
{
    QString name;    // object name, e.g. "cmdProgName"
    QString caption; // shown as it stands, blanks included
    Field field;
    int key;  // keypad key (virtual-key code) that presses the button
    int left; // place in the field button frame, in twips
    int top;
    QString toolTip = {};
};

// One entry of the pop-up menu; separators paste nothing.
struct MenuEntrySpec
{
    QString name;    // object name, e.g. "mnuAuthor"
    QString caption; // "&" marks the mnemonic, "-" a separator
    std::optional<Field> field;

    bool isSeparator() const { return !field.has_value(); }
};

constexpr int FieldButtonCount = 12;
constexpr int MenuEntryCount = 21;

// In the order the buttons stand in their two rows.
const std::array<FieldButtonSpec, FieldButtonCount> &fieldButtonTable();

// The button a keypad key presses, or nullptr for a key without one.
const FieldButtonSpec *fieldButtonForKey(int virtualKey);

// The pop-up menu's entries, top to bottom.
const std::array<MenuEntrySpec, MenuEntryCount> &popupMenuTable();

} // namespace tarvelo
