#pragma once

namespace tarvelo {

class FrmMain;

// What the window's layout does not tell assistive technology and keyboard
// users by itself: names for the boxes, picture buttons, frames and the
// browser, the caption labels as the boxes' labels, and a tab order that
// follows the PAD Files page from top to bottom. Tooltips need nothing but
// for the site list: Qt hands them on as descriptions and follows their changes.
class Accessibility
{
public:
    // Call once, after the panels have set up the window.
    static void apply(FrmMain &window);

private:
    static void nameMainTab(FrmMain &window);
    static void namePadFilesTab(FrmMain &window);
    static void orderTabKey(FrmMain &window);
};

} // namespace tarvelo
