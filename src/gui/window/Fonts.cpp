#include "gui/window/Fonts.h"

#include <QStringList>

namespace tarvelo {

namespace {
QFont face(const QStringList &families, qreal points)
{
    QFont f;
    f.setFamilies(families);
    f.setPointSizeF(points);
    return f;
}
} // namespace

QFont Fonts::textBox()
{
    return face({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")}, 8.25);
}

QFont Fonts::caption()
{
    return face({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue")}, 8.25);
}

QFont Fonts::tabCaption()
{
    return face({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")}, 12);
}

QFont Fonts::siteList()
{
    return face({QStringLiteral("Trebuchet MS"), QStringLiteral("DejaVu Sans")}, 9);
}

QFont Fonts::dialog()
{
    // Narrow like the classic 8 pt dialog face, so the status line's texts fit.
    return face({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")}, 7.5);
}

} // namespace tarvelo
