#include "core/campaign/DeadSiteRule.h"

#include <QDate>

namespace tarvelo {

bool DeadSiteRule::offerAsDead(const QList<CheckRecord> &checks)
{
    QDateTime lastSuccess;
    for (const CheckRecord &check : checks) {
        if (check.ok && check.at.isValid() && (!lastSuccess.isValid() || check.at > lastSuccess))
            lastSuccess = check.at;
    }
    QDate failureDay;
    for (const CheckRecord &check : checks) {
        if (check.ok || !check.at.isValid())
            continue;
        if (lastSuccess.isValid() && check.at <= lastSuccess)
            continue;
        const QDate day = check.at.toUTC().date();
        if (failureDay.isValid() && day != failureDay)
            return true;
        failureDay = day;
    }
    return false;
}

} // namespace tarvelo
