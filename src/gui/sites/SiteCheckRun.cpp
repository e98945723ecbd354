#include "gui/sites/SiteCheckRun.h"

#include "core/campaign/DeadSiteRule.h"
#include "core/campaign/SiteCheck.h"

#include <QNetworkAccessManager>

using namespace Qt::StringLiterals;

namespace tarvelo {

SiteCheckRun::SiteCheckRun(CampaignStore &store, QObject *parent)
    : QObject(parent), m_store(store), m_network(new QNetworkAccessManager(this)),
      m_check(new SiteCheck(m_network, this))
{
    connect(m_check, &SiteCheck::siteChecked, this, &SiteCheckRun::onChecked);
    connect(m_check, &SiteCheck::progress, this, &SiteCheckRun::progress);
    connect(m_check, &SiteCheck::finished, this, &SiteCheckRun::finished);
}

SiteCheckRun::~SiteCheckRun() = default;

void SiteCheckRun::setTimeout(int milliseconds)
{
    m_check->setTimeout(milliseconds);
}

void SiteCheckRun::start(const QList<SiteRecord> &sites)
{
    m_sites = sites;
    m_asked.clear();
    m_answered = m_failed = 0;
    QList<SiteCheck::Site> targets;
    targets.reserve(sites.size());
    for (const SiteRecord &site : sites)
        targets.append({site.id, site.address});
    m_check->start(targets);
}

void SiteCheckRun::cancel()
{
    m_check->cancel();
}

bool SiteCheckRun::isRunning() const
{
    return m_check->isRunning();
}

void SiteCheckRun::onChecked(qint64 siteId, const CheckRecord &check)
{
    // A result the store could not keep still shows; the next run asks again.
    m_store.recordCheck(siteId, check);
    m_asked.insert(siteId);
    ++(check.ok ? m_answered : m_failed);
    Q_EMIT checked(siteId, check);
}

QString SiteCheckRun::summary() const
{
    return u"Checked %1 of %2 sites: %3 answered, %4 did not."_s.arg(m_asked.size())
        .arg(m_sites.size())
        .arg(m_answered)
        .arg(m_failed);
}

QList<SiteRecord> SiteCheckRun::deadOffers() const
{
    QList<SiteRecord> offers;
    for (const SiteRecord &site : m_sites) {
        if (!site.dead && m_asked.contains(site.id) &&
            DeadSiteRule::offerAsDead(m_store.checks(site.id)))
            offers.append(site);
    }
    return offers;
}

} // namespace tarvelo
