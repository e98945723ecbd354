#include "core/campaign/CampaignRules.h"

namespace tarvelo {

namespace {

SiteState stateOf(qint64 siteId, const QHash<qint64, StateRecord> &latest)
{
    const auto found = latest.constFind(siteId);
    return found == latest.cend() ? SiteState::Todo : found->state;
}

} // namespace

std::optional<qint64> nextSiteToOpen(const QList<qint64> &siteIds,
                                     const QHash<qint64, StateRecord> &latest,
                                     std::optional<qint64> selected)
{
    const qsizetype count = siteIds.size();
    // Index of the selection, or -1 so that the search starts at the top.
    const qsizetype from = selected ? siteIds.indexOf(*selected) : -1;
    for (qsizetype step = 1; step <= count; ++step) {
        const qint64 id = siteIds[(from + step + count) % count];
        const SiteState state = stateOf(id, latest);
        if (state == SiteState::Todo || state == SiteState::UpdateDue)
            return id;
    }
    return std::nullopt;
}

std::array<int, SiteStateCount> stateCounts(const QList<qint64> &siteIds,
                                            const QHash<qint64, StateRecord> &latest)
{
    std::array<int, SiteStateCount> counts{};
    for (const qint64 id : siteIds)
        ++counts[size_t(stateOf(id, latest))];
    return counts;
}

} // namespace tarvelo
