#pragma once

#include "core/campaign/CampaignStore.h"
#include "core/campaign/SiteState.h"

#include <QHash>
#include <QList>

#include <array>
#include <optional>

namespace tarvelo {

// What the campaign's latest states mean for the site list. siteIds are the
// sites in use in display order; latest is CampaignStore::latestStates, where a
// site without an entry is to do.

// The site keypad + opens: the first after the selected one, wrapping around
// once and ending with the selected one itself, that is to do or due for an
// update. Without a selection (or one no longer listed) the search starts at
// the top. None when no site is left to work on.
std::optional<qint64> nextSiteToOpen(const QList<qint64> &siteIds,
                                     const QHash<qint64, StateRecord> &latest,
                                     std::optional<qint64> selected);

// How many of the sites are in each state, indexed by SiteState.
std::array<int, SiteStateCount> stateCounts(const QList<qint64> &siteIds,
                                            const QHash<qint64, StateRecord> &latest);

} // namespace tarvelo
