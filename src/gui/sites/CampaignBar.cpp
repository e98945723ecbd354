#include "gui/sites/CampaignBar.h"

#include <QPainter>

#include <numeric>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

constexpr int BarHeight = 14;
constexpr int Gap = 4;
constexpr int Swatch = 10;

// The order along the bar: done first, then on the way, then what is left.
constexpr std::array<SiteState, SiteStateCount> barOrder = {
    SiteState::Listed,   SiteState::Submitted, SiteState::AwaitingEmail, SiteState::UpdateDue,
    SiteState::Rejected, SiteState::Skipped,   SiteState::Dead,          SiteState::Todo,
};

int total(const CampaignBar::Counts &counts)
{
    return std::accumulate(counts.begin(), counts.end(), 0);
}

} // namespace

CampaignBar::CampaignBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"barCampaign"_s);
    setAccessibleName(u"Campaign progress"_s);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCounts({});
}

void CampaignBar::setCounts(const Counts &counts)
{
    m_counts = counts;
    const QString text = summary(counts);
    setToolTip(text);
    setAccessibleDescription(text);
    update();
}

QString CampaignBar::summary(const Counts &counts)
{
    QStringList parts;
    for (SiteState state : barOrder) {
        if (const int n = counts[size_t(state)])
            parts << QString::number(n) + u' ' + stateLabel(state).toLower();
    }
    return parts.isEmpty() ? u"No sites"_s : parts.join(u", "_s);
}

QColor CampaignBar::colour(SiteState state)
{
    switch (state) {
    case SiteState::Todo:
        return QColor(0xd8, 0xd8, 0xd8);
    case SiteState::Submitted:
        return QColor(0x3a, 0x7b, 0xd5);
    case SiteState::AwaitingEmail:
        return QColor(0x8e, 0x6c, 0xd0);
    case SiteState::Listed:
        return QColor(0x2e, 0xa0, 0x4a);
    case SiteState::Rejected:
        return QColor(0xd0, 0x3b, 0x3b);
    case SiteState::Skipped:
        return QColor(0xa8, 0xa0, 0x90);
    case SiteState::Dead:
        return QColor(0x44, 0x44, 0x44);
    case SiteState::UpdateDue:
        return QColor(0xf0, 0x9a, 0x1c);
    }
    return Qt::gray;
}

QSize CampaignBar::sizeHint() const
{
    return {400, minimumSizeHint().height()};
}

QSize CampaignBar::minimumSizeHint() const
{
    return {100, BarHeight + Gap + fontMetrics().height()};
}

void CampaignBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect bar(0, 0, width(), BarHeight);
    paintBar(painter, bar);
    paintLegend(painter, QRect(0, BarHeight + Gap, width(), fontMetrics().height()));
}

void CampaignBar::paintBar(QPainter &painter, const QRect &bar) const
{
    const int all = total(m_counts);
    painter.fillRect(bar, colour(SiteState::Todo));
    if (all > 0) {
        // Whole pixels from running sums, so the stretches always fill the bar exactly.
        int before = 0;
        for (SiteState state : barOrder) {
            const int n = m_counts[size_t(state)];
            const int left = int(qint64(bar.width()) * before / all);
            before += n;
            const int right = int(qint64(bar.width()) * before / all);
            painter.fillRect(QRect(bar.left() + left, bar.top(), right - left, bar.height()),
                             colour(state));
        }
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
}

void CampaignBar::paintLegend(QPainter &painter, const QRect &line) const
{
    int x = line.left();
    const int swatchTop = line.top() + (line.height() - Swatch) / 2;
    for (SiteState state : barOrder) {
        const int n = m_counts[size_t(state)];
        if (n == 0)
            continue;
        const QString text = stateLabel(state) + u' ' + QString::number(n);
        painter.fillRect(QRect(x, swatchTop, Swatch, Swatch), colour(state));
        x += Swatch + Gap;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(x, line.top(), line.right() - x, line.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
        x += fontMetrics().horizontalAdvance(text) + 3 * Gap;
    }
}

} // namespace tarvelo
