#pragma once

namespace tarvelo {

class MainWindow;

// What the window's layout does not tell assistive technology and keyboard
// users by itself: names for the boxes, picture buttons, frames and the
// browser, the caption labels as the boxes' labels, and a tab order that
// follows the PAD Files page from top to bottom. Tooltips need nothing but
// for the site list: Qt hands them on as descriptions and follows their changes.
class Accessibility
{
public:
    // Call once, after the panels have set up the window.
    static void apply(MainWindow &window);

private:
    static void nameMainTab(MainWindow &window);
    static void namePadFilesTab(MainWindow &window);
    static void orderTabKey(MainWindow &window);
};

} // namespace tarvelo
