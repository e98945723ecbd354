#pragma once

#include "core/filling/NavButton.h"

#include <QList>

#include <array>

namespace tarvelo {

// Which picture each of the four navigation buttons shows, grey or lit.
// The platform tells only about mouse moves, never about the pointer leaving a
// button, so a lit button goes grey when the pointer reaches another
// navigation button or one of the resetting places (the window's background,
// lstSites, lblStatus). Each call returns the picture changes to make, in order;
// a picture already shown is not shown again, except the lit one of the button
// under the pointer.
class HoverPictures
{
public:
    using Button = NavButton;

    struct Change
    {
        Button button;
        int pictureId;
        bool operator==(const Change &) const = default;
    };
    using Changes = QList<Change>;

    // Grey pictures of the four buttons, given at start-up; no button is lit.
    Changes normalPictures();
    Changes mouseMoveOverButton(Button button);
    Changes mouseMoveOverBackground();

    bool isLit(Button button) const { return m_lit[index(button)]; }

    static int normalPicture(Button button);
    static int litPicture(Button button) { return normalPicture(button) + 1; }
    static Button partner(Button button);

private:
    static int index(Button button) { return static_cast<int>(button); }
    // Both buttons of a pair go grey together when either of them is lit.
    void resetPair(Button first, Button second, Changes &changes);
    void resetAlone(Button button, Changes &changes);

    std::array<bool, 4> m_lit{};
};

} // namespace tarvelo
