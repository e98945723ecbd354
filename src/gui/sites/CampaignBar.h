#pragma once

#include "core/campaign/SiteState.h"

#include <QWidget>

#include <array>

namespace tarvelo {

// How far the current program's campaign is, at a glance: one bar split into
// a stretch per state, as long as its share of the sites, with each state's
// count in a line below. The same numbers are its tooltip and its accessible
// description.
class CampaignBar : public QWidget
{
    Q_OBJECT
public:
    using Counts = std::array<int, SiteStateCount>;

    explicit CampaignBar(QWidget *parent = nullptr);

    void setCounts(const Counts &counts);
    const Counts &counts() const { return m_counts; }
    // "12 to do, 30 submitted, 2 dead"; the states with none are left out.
    static QString summary(const Counts &counts);
    static QColor colour(SiteState state);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintBar(QPainter &painter, const QRect &bar) const;
    void paintLegend(QPainter &painter, const QRect &line) const;

    Counts m_counts{};
};

} // namespace tarvelo
