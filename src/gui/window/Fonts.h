#pragma once

#include <QFont>

namespace tarvelo {

// The window's faces, with free faces of the same role and size where the
// first choice is missing.
struct Fonts
{
    static QFont textBox();    // text boxes: Verdana 8.25 pt
    static QFont caption();    // labels and buttons: Comic Sans MS 8.25 pt
    static QFont tabCaption(); // Verdana 12 pt
    static QFont siteList();   // Trebuchet MS 9 pt
    static QFont dialog();     // the window's own: a small dialog face
};

} // namespace tarvelo
