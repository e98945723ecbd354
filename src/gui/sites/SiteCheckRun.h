#pragma once

#include "core/campaign/CampaignStore.h"

#include <QList>
#include <QObject>
#include <QSet>

class QNetworkAccessManager;

namespace tarvelo {

class SiteCheck;

// One "Check sites" run: asks the sites in the background and keeps every
// answer in the store as it comes. Which sites then look dead is worked out
// from their whole check history, but only for the sites asked this time.
class SiteCheckRun : public QObject
{
    Q_OBJECT
public:
    explicit SiteCheckRun(CampaignStore &store, QObject *parent = nullptr);
    ~SiteCheckRun() override;

    void setTimeout(int milliseconds);
    void start(const QList<SiteRecord> &sites);
    void cancel();
    bool isRunning() const;

    // "Checked 40 of 50 sites: 36 answered, 4 did not."
    QString summary() const;
    // The sites asked this time, not dead yet, that failed on two days since
    // they last answered.
    QList<SiteRecord> deadOffers() const;

Q_SIGNALS:
    void progress(int done, int total);
    void checked(qint64 siteId, const tarvelo::CheckRecord &check);
    void finished(bool cancelled);

private:
    void onChecked(qint64 siteId, const CheckRecord &check);

    CampaignStore &m_store;
    QNetworkAccessManager *m_network;
    SiteCheck *m_check;
    QList<SiteRecord> m_sites;
    QSet<qint64> m_asked;
    int m_answered = 0;
    int m_failed = 0;
};

} // namespace tarvelo
