#pragma once

#include <QWidget>

class QFrame;
class QTabBar;

namespace tarvelo {

// Captioned pages, one shown at a time. Unlike QTabWidget the pages cover
// the whole control, tab strip included, so their controls are placed in the
// control's own coordinates; the strip and the pane are drawn behind them.
class TabControl : public QWidget
{
    Q_OBJECT
public:
    // The pages' first controls start just below the strip.
    static constexpr int StripHeight = 23;

    explicit TabControl(QWidget *parent = nullptr);

    QWidget *addPage(const QString &caption, const QString &objectName);
    QWidget *page(int index) const { return m_pages.value(index); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    QTabBar *tabBar() const { return m_bar; }

Q_SIGNALS:
    // The shown page changed; carries the page shown before.
    void switched(int previousIndex);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QTabBar *m_bar;
    QFrame *m_pane;
    QList<QWidget *> m_pages;
    int m_current = 0;
};

} // namespace tarvelo
