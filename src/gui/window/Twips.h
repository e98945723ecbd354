#pragma once

#include <QRect>
#include <QSize>

namespace tarvelo {

// The window's geometry is laid out in twips; 15 twips make one pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    // round half away from zero, so 7.5 px becomes 8 like the layout intends
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}

} // namespace tarvelo
