#pragma once

#include "core/campaign/CampaignStore.h"

#include <QList>

namespace tarvelo {

// A site that fails its check twice on different days is offered to the user
// as dead: two failures on different UTC calendar days, both after the site's
// last success. One bad day is not enough; a site that answered since is
// alive. The checks may come in any order.
class DeadSiteRule
{
public:
    static bool offerAsDead(const QList<CheckRecord> &checks);
};

} // namespace tarvelo
