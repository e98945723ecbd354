#include "gui/window/TabControl.h"

#include <QFrame>
#include <QTabBar>

namespace tarvelo {

TabControl::TabControl(QWidget *parent)
    : QWidget(parent), m_bar(new QTabBar(this)), m_pane(new QFrame(this))
{
    m_pane->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_pane->setObjectName(QStringLiteral("tabPane"));
    m_bar->setObjectName(QStringLiteral("tabBar"));
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->setFixedHeight(StripHeight);
    connect(m_bar, &QTabBar::currentChanged, this, &TabControl::setCurrentIndex);
}

QWidget *TabControl::addPage(const QString &caption, const QString &objectName)
{
    auto *page = new QWidget(this);
    page->setObjectName(objectName);
    page->setGeometry(rect());
    page->setVisible(m_pages.isEmpty());
    m_pages.append(page);
    m_bar->addTab(caption);
    m_bar->raise();
    return page;
}

void TabControl::setCurrentIndex(int index)
{
    if (index == m_current || index < 0 || index >= m_pages.size())
        return;
    const int previous = m_current;
    m_current = index;
    m_bar->setCurrentIndex(index);
    m_pages[index]->setVisible(true);
    m_pages[previous]->setVisible(false);
    m_bar->raise();
    Q_EMIT switched(previous);
}

void TabControl::resizeEvent(QResizeEvent *)
{
    m_pane->setGeometry(0, StripHeight - 1, width(), height() - StripHeight + 1);
    m_bar->setGeometry(2, 0, width() - 4, StripHeight);
    for (QWidget *page : std::as_const(m_pages))
        page->setGeometry(rect());
}

} // namespace tarvelo
