#pragma once

#include <QString>

namespace tarvelo {

// One site as a list file carries it and as the user adds it: an address,
// and optionally a name and a note.
struct SiteEntry
{
    QString address;
    QString name;
    QString note;

    bool operator==(const SiteEntry &) const = default;
};

} // namespace tarvelo
