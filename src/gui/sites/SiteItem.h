#pragma once

#include <QListWidgetItem>

namespace tarvelo {

class CampaignPanel;

// A site in lstSites. Its mark and spoken state are read from the campaign
// when the list asks for them, so a state change costs a repaint, not a pass
// over every item of a long list.
class SiteItem : public QListWidgetItem
{
public:
    static constexpr int SiteIdRole = Qt::UserRole;

    SiteItem(qint64 siteId, const QString &address, const CampaignPanel &campaign);

    QVariant data(int role) const override;

private:
    qint64 m_siteId;
    const CampaignPanel &m_campaign;
};

} // namespace tarvelo
