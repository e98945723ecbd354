#include "gui/window/WindowPlacement.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tarvelo {

namespace {
// The head of QWidget::saveGeometry()'s bytes: a magic number, a major and a
// minor version, then the frame and the normal geometry. Versions 2 and 3
// (Qt 5 and 6) agree on this head.
constexpr quint32 GeometryMagic = 0x1D9D0CB;
constexpr quint16 OldestMajor = 2;
constexpr quint16 NewestMajor = 3;

QList<QRect> availableScreens()
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return screens;
}
} // namespace

bool WindowPlacement::restore(QWidget &window, const QByteArray &saved, QSize defaultSize)
{
    if (usable(normalGeometry(saved), window.minimumSize(), availableScreens()) &&
        window.restoreGeometry(saved))
        return true;
    window.setWindowState(window.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    window.resize(defaultSize);
    return false;
}

QRect WindowPlacement::normalGeometry(const QByteArray &saved)
{
    QDataStream stream(saved);
    quint32 magic = 0;
    quint16 major = 0, minor = 0;
    QRect frame, normal;
    stream >> magic >> major >> minor >> frame >> normal;
    if (stream.status() != QDataStream::Ok || magic != GeometryMagic || major < OldestMajor ||
        major > NewestMajor)
        return {};
    return normal;
}

bool WindowPlacement::usable(const QRect &normal, QSize minimum, const QList<QRect> &screens)
{
    if (normal.isEmpty() || normal.width() < minimum.width() || normal.height() < minimum.height())
        return false;
    for (const QRect &screen : screens) {
        const QRect seen = normal.intersected(screen);
        if (seen.width() >= MinimumVisible.width() && seen.height() >= MinimumVisible.height())
            return true;
    }
    return false;
}

} // namespace tarvelo
