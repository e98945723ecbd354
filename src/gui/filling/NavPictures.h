#pragma once

#include <QIcon>
#include <QSize>

#include <array>

namespace tarvelo {

// The eight pictures of the navigation buttons, ids 101 to 108, loaded once:
// the mouse moves that switch them come many times a second.
class NavPictures
{
public:
    static constexpr int FirstId = 101;
    static constexpr int LastId = 108;

    NavPictures();

    // An id outside 101..108 gives an empty icon.
    QIcon icon(int id) const;
    QSize size(int id) const;

    static QString resourcePath(int id);

private:
    std::array<QIcon, LastId - FirstId + 1> m_icons;
    std::array<QSize, LastId - FirstId + 1> m_sizes;
};

} // namespace tarvelo
