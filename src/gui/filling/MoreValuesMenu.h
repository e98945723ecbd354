#pragma once

#include <QString>

#include <functional>

class QMenu;

namespace tarvelo {

class MainWindow;

// The pop-up menu's submenu "More": values of the current profile's PAD file
// that have no field of their own (the descriptions of 80, 250 and 2000
// characters, the author's full name, the file size in three units).
class MoreValuesMenu
{
public:
    // Puts the value's text into the page, saying `what` if there is none;
    // valueName is the value's name for the form fill (FormFill::valueName).
    using Paste =
        std::function<void(const QString &text, const QString &what, const QString &valueName)>;

    // Appends the submenu to menu; each entry reads the value when chosen.
    static void addTo(QMenu *menu, MainWindow &window, const Paste &paste);
};

} // namespace tarvelo
