#include "gui/filling/NavHover.h"

#include "gui/window/MainWindow.h"

#include <QEvent>
#include <QToolButton>

namespace tarvelo {

namespace {
constexpr NavButton navButtons[] = {NavButton::Back, NavButton::Forward, NavButton::Stop,
                                    NavButton::Refresh};
}

NavHover::NavHover(MainWindow &window) : QObject(&window), m_window(window)
{
    for (NavButton b : navButtons) {
        QToolButton *button = m_window.navButton(b);
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    connect(&m_window, &MainWindow::backgroundMouseMove, this,
            [this] { showPictures(m_hover.mouseMoveOverBackground()); });
}

void NavHover::showNormalPictures()
{
    const HoverPictures::Changes changes = m_hover.normalPictures();
    for (const auto &change : changes)
        m_window.navButton(change.button)->setIconSize(m_pictures.size(change.pictureId));
    showPictures(changes);
}

void NavHover::showPictures(const HoverPictures::Changes &changes)
{
    for (const auto &change : changes)
        m_window.navButton(change.button)->setIcon(m_pictures.icon(change.pictureId));
}

bool NavHover::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        for (NavButton b : navButtons) {
            if (watched == m_window.navButton(b))
                showPictures(m_hover.mouseMoveOverButton(b));
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tarvelo
