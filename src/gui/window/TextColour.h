#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace tarvelo {

// The colour a label's text is drawn in.
inline void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace tarvelo
