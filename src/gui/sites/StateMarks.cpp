#include "gui/sites/StateMarks.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QPen pen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Draws on a 14 × 14 square, whatever the pixmap's scale.
void paintMark(QPainter &p, SiteState state)
{
    switch (state) {
    case SiteState::Todo: // an empty ring: nothing done yet
        p.setPen(pen(QColor(110, 110, 110), 1.5));
        p.drawEllipse(QRectF(2.5, 2.5, 9, 9));
        return;
    case SiteState::Submitted: // a filled blue disc
        p.setPen(pen(QColor(20, 70, 170), 1));
        p.setBrush(QColor(40, 110, 220));
        p.drawEllipse(QRectF(2, 2, 10, 10));
        return;
    case SiteState::AwaitingEmail: { // an envelope
        p.setPen(pen(QColor(150, 90, 0), 1.3));
        p.setBrush(QColor(255, 220, 130));
        p.drawRect(QRectF(1.5, 3.5, 11, 7));
        p.drawPolyline(QPolygonF({QPointF(1.5, 3.5), QPointF(7, 8), QPointF(12.5, 3.5)}));
        return;
    }
    case SiteState::Listed: // a green tick
        p.setPen(pen(QColor(0, 140, 40), 2.4));
        p.drawPolyline(QPolygonF({QPointF(2, 7.5), QPointF(5.5, 11), QPointF(12, 3)}));
        return;
    case SiteState::Rejected: // a red cross
        p.setPen(pen(QColor(200, 20, 20), 2.4));
        p.drawLine(QPointF(3, 3), QPointF(11, 11));
        p.drawLine(QPointF(11, 3), QPointF(3, 11));
        return;
    case SiteState::Skipped: // a grey dash: passed over
        p.setPen(pen(QColor(120, 120, 120), 2.4));
        p.drawLine(QPointF(2.5, 7), QPointF(11.5, 7));
        return;
    case SiteState::Dead: // a black square
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(QRectF(2, 2, 10, 10));
        return;
    case SiteState::UpdateDue: { // an orange arrow up: a newer version to send
        QPainterPath arrow;
        arrow.addPolygon(
            QPolygonF({QPointF(7, 1), QPointF(13, 7.5), QPointF(9.5, 7.5), QPointF(9.5, 13),
                       QPointF(4.5, 13), QPointF(4.5, 7.5), QPointF(1, 7.5)}));
        arrow.closeSubpath();
        p.setPen(pen(QColor(170, 80, 0), 1));
        p.setBrush(QColor(245, 140, 20));
        p.drawPath(arrow);
        return;
    }
    }
}

QPixmap paintedAt(SiteState state, int scale)
{
    QPixmap pixmap(StateMarks::Size * scale, StateMarks::Size * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paintMark(p, state);
    return pixmap;
}

QIcon paintedIcon(SiteState state)
{
    QIcon icon;
    for (int scale : {1, 2}) // sharp on a high-density screen too
        icon.addPixmap(paintedAt(state, scale));
    return icon;
}

QString localDate(const QDateTime &at)
{
    return at.toLocalTime().date().toString(Qt::ISODate);
}

} // namespace

QIcon StateMarks::icon(SiteState state)
{
    static const std::array<QIcon, SiteStateCount> icons = [] {
        std::array<QIcon, SiteStateCount> all;
        for (int i = 0; i < SiteStateCount; ++i)
            all[size_t(i)] = paintedIcon(SiteState(i));
        return all;
    }();
    return icons[size_t(state)];
}

QString StateMarks::description(const StateRecord &record)
{
    QString text = stateLabel(record.state);
    if (record.state == SiteState::Todo || record.state == SiteState::Dead)
        return text;
    if (record.state == SiteState::UpdateDue)
        text += u","_s;
    if (!record.version.isEmpty())
        text += u' ' + record.version;
    if (record.state == SiteState::UpdateDue && !record.version.isEmpty())
        text += u" sent"_s;
    if (record.at.isValid())
        text += u" on "_s + localDate(record.at);
    if (!record.detail.isEmpty())
        text += u": "_s + record.detail;
    return text;
}

} // namespace tarvelo
