#include "gui/filling/NavPictures.h"

#include <QPixmap>

using namespace Qt::StringLiterals;

namespace tarvelo {

NavPictures::NavPictures()
{
    for (int id = FirstId; id <= LastId; ++id) {
        const QPixmap picture(resourcePath(id));
        m_icons[id - FirstId] = QIcon(picture);
        m_sizes[id - FirstId] = picture.size();
    }
}

QIcon NavPictures::icon(int id) const
{
    if (id < FirstId || id > LastId)
        return {};
    return m_icons[id - FirstId];
}

QSize NavPictures::size(int id) const
{
    if (id < FirstId || id > LastId)
        return {};
    return m_sizes[id - FirstId];
}

QString NavPictures::resourcePath(int id)
{
    return u":/pictures/%1.png"_s.arg(id);
}

} // namespace tarvelo
