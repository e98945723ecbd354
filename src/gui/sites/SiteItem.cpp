#include "gui/sites/SiteItem.h"

#include "gui/sites/CampaignPanel.h"
#include "gui/sites/StateMarks.h"

namespace tarvelo {

SiteItem::SiteItem(qint64 siteId, const QString &address, const CampaignPanel &campaign)
    : QListWidgetItem(address, nullptr, QListWidgetItem::UserType), m_siteId(siteId),
      m_campaign(campaign)
{
}

QVariant SiteItem::data(int role) const
{
    if (role == SiteIdRole)
        return m_siteId;
    if (role != Qt::DecorationRole && role != Qt::AccessibleDescriptionRole)
        return QListWidgetItem::data(role);
    const StateRecord state = m_campaign.stateOf(m_siteId);
    // Without a program only a dead site has something to show.
    if (m_campaign.statesProgramId() == 0 && state.state != SiteState::Dead)
        return {};
    if (role == Qt::DecorationRole)
        return StateMarks::icon(state.state);
    return StateMarks::description(state);
}

} // namespace tarvelo
