#pragma once

#include "core/campaign/CampaignStore.h"

#include <QIcon>

namespace tarvelo {

// How the site list marks a site's state: a small painted sign per state,
// told apart by its shape as well as its colour, and the words a screen
// reader says ("Submitted 1.2 on 2026-12-07").
class StateMarks
{
public:
    static constexpr int Size = 14; // pixels, the list's line height

    // The same icon object for every call with a state, so a long list shares it.
    static QIcon icon(SiteState state);

    static QString description(const StateRecord &record);
};

} // namespace tarvelo
