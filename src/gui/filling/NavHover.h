#pragma once

#include "core/filling/HoverPictures.h"
#include "gui/filling/NavPictures.h"

#include <QObject>

namespace tarvelo {

class MainWindow;

// The pictures of the navigation buttons Back, Forward, Stop and Refresh,
// lit while the mouse moves over one of them.
class NavHover : public QObject
{
    Q_OBJECT
public:
    // Watches the window's navigation buttons and background; a child of the window.
    explicit NavHover(MainWindow &window);

    // The grey pictures, given at start-up.
    void showNormalPictures();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPictures(const HoverPictures::Changes &changes);

    MainWindow &m_window;
    HoverPictures m_hover;
    NavPictures m_pictures;
};

} // namespace tarvelo
