#include "core/filling/HoverPictures.h"

namespace tarvelo {

int HoverPictures::normalPicture(Button button)
{
    switch (button) {
    case Button::Back:
        return 101;
    case Button::Forward:
        return 103;
    case Button::Stop:
        return 105;
    case Button::Refresh:
        return 107;
    }
    return 101;
}

HoverPictures::Button HoverPictures::partner(Button button)
{
    switch (button) {
    case Button::Back:
        return Button::Forward;
    case Button::Forward:
        return Button::Back;
    case Button::Stop:
        return Button::Refresh;
    case Button::Refresh:
        return Button::Stop;
    }
    return Button::Back;
}

HoverPictures::Changes HoverPictures::normalPictures()
{
    m_lit = {};
    return {
        {Button::Back, 101}, {Button::Forward, 103}, {Button::Stop, 105}, {Button::Refresh, 107}};
}

HoverPictures::Changes HoverPictures::mouseMoveOverButton(Button button)
{
    // Shown again on every move, even when the button is lit already.
    Changes changes{{button, litPicture(button)}};
    resetAlone(partner(button), changes);
    const bool backPair = button == Button::Back || button == Button::Forward;
    if (backPair)
        resetPair(Button::Stop, Button::Refresh, changes);
    else
        resetPair(Button::Back, Button::Forward, changes);
    m_lit[index(button)] = true;
    return changes;
}

HoverPictures::Changes HoverPictures::mouseMoveOverBackground()
{
    Changes changes;
    resetPair(Button::Back, Button::Forward, changes);
    resetPair(Button::Stop, Button::Refresh, changes);
    return changes;
}

void HoverPictures::resetAlone(Button button, Changes &changes)
{
    if (!isLit(button))
        return;
    changes.append({button, normalPicture(button)});
    m_lit[index(button)] = false;
}

void HoverPictures::resetPair(Button first, Button second, Changes &changes)
{
    if (!isLit(first) && !isLit(second))
        return;
    changes.append({first, normalPicture(first)});
    changes.append({second, normalPicture(second)});
    m_lit[index(first)] = false;
    m_lit[index(second)] = false;
}

} // namespace tarvelo
