#pragma once

#include <QString>

#include <optional>

namespace tarvelo {

// Where a program stands on one directory site. The first six are kept in the
// store's history; Dead belongs to the site itself, and UpdateDue is worked out
// when a site holds an older version of the program than the current one.
enum class SiteState {
    Todo,
    Submitted,
    AwaitingEmail,
    Listed,
    Rejected,
    Skipped,
    Dead,
    UpdateDue,
};
constexpr int SiteStateCount = 8;

// The name in exported logs and in the store: "todo", "submitted",
// "awaiting-email", "listed", "rejected", "skipped", "dead", "update-due".
QString stateName(SiteState state);
std::optional<SiteState> stateFromName(const QString &name);

// What the user reads: "To do", "Submitted", "Awaiting e-mail", ...
QString stateLabel(SiteState state);

} // namespace tarvelo
