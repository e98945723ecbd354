#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace tarvelo {

// Where a control goes when the window grows beyond its default size. Each
// control keeps the place it has at the default size and follows the edges
// its anchor names by as much as the window grew.
enum class Anchor {
    TopLeft,     // stays where it is, as it is
    TopRight,    // moves right with the window's right edge
    BottomLeft,  // moves down with the window's bottom edge
    BottomRight, // moves right and down
    TopWide,     // takes the extra width
    Fill,        // takes the extra width and height
};

// Re-places the registered controls whenever the window is resized. Every
// control grows or moves by the same amount, the window's growth over its
// default size, whichever parent it sits in: the controls that take the extra
// room (tab control, browser frame, browser) nest in one another.
class GrowthLayout : public QObject
{
    Q_OBJECT
public:
    // window is watched for resizes; defaultSize is the size at which every
    // control stands where it was placed.
    GrowthLayout(QWidget *window, QSize defaultSize);

    // Records the control's present geometry as its default-size one, so
    // add it once it is placed.
    void add(QWidget *control, Anchor anchor);

    // The window's growth over its default size; never negative.
    QSize growth() const;

    // A default-size rectangle as it stands after growing by (dx, dy).
    static QRect grown(const QRect &atDefault, Anchor anchor, QSize growth);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeAll();

    struct Entry
    {
        QPointer<QWidget> control;
        QRect atDefault;
        Anchor anchor;
    };

    QWidget *m_window;
    QSize m_defaultSize;
    std::vector<Entry> m_entries;
};

} // namespace tarvelo
