#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

namespace tarvelo {

// The window's size, position and maximised state from one run to the next,
// kept as the bytes QWidget::saveGeometry() gives.
class WindowPlacement
{
public:
    // Less than this much of the window on every screen, and it is lost.
    static constexpr QSize MinimumVisible{100, 40};

    // Puts the window where saved says, before it is shown. Saved bytes that
    // are empty or unreadable, a size below minimum, or a place off every
    // screen leave the window at defaultSize, placed by the desktop. Returns
    // whether the saved placement was taken.
    static bool restore(QWidget &window, const QByteArray &saved, QSize defaultSize);

    // The window's normal (not maximised) geometry in saved bytes; an empty
    // rectangle for bytes of another kind.
    static QRect normalGeometry(const QByteArray &saved);

    // Whether a window of this normal geometry can be shown as it was.
    static bool usable(const QRect &normal, QSize minimum, const QList<QRect> &screens);
};

} // namespace tarvelo
