#include "gui/window/GrowthLayout.h"

#include <QEvent>
#include <QWidget>

namespace tarvelo {

namespace {

struct Follows
{
    bool moveX, moveY, growWidth, growHeight;
};

constexpr Follows follows(Anchor anchor)
{
    switch (anchor) {
    case Anchor::TopLeft:
        return {false, false, false, false};
    case Anchor::TopRight:
        return {true, false, false, false};
    case Anchor::BottomLeft:
        return {false, true, false, false};
    case Anchor::BottomRight:
        return {true, true, false, false};
    case Anchor::TopWide:
        return {false, false, true, false};
    case Anchor::Fill:
        return {false, false, true, true};
    }
    return {false, false, false, false};
}

} // namespace

GrowthLayout::GrowthLayout(QWidget *window, QSize defaultSize)
    : QObject(window), m_window(window), m_defaultSize(defaultSize)
{
    m_window->installEventFilter(this);
}

void GrowthLayout::add(QWidget *control, Anchor anchor)
{
    m_entries.push_back({control, control->geometry(), anchor});
    control->setGeometry(grown(m_entries.back().atDefault, anchor, growth()));
}

QSize GrowthLayout::growth() const
{
    return (m_window->size() - m_defaultSize).expandedTo(QSize(0, 0));
}

QRect GrowthLayout::grown(const QRect &atDefault, Anchor anchor, QSize growth)
{
    const Follows f = follows(anchor);
    const int dx = growth.width(), dy = growth.height();
    return QRect(atDefault.x() + (f.moveX ? dx : 0), atDefault.y() + (f.moveY ? dy : 0),
                 atDefault.width() + (f.growWidth ? dx : 0),
                 atDefault.height() + (f.growHeight ? dy : 0));
}

bool GrowthLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        placeAll();
    return QObject::eventFilter(watched, event);
}

void GrowthLayout::placeAll()
{
    const QSize by = growth();
    for (const Entry &entry : m_entries) {
        if (entry.control)
            entry.control->setGeometry(grown(entry.atDefault, entry.anchor, by));
    }
}

} // namespace tarvelo
