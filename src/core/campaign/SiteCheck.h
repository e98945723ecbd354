#pragma once

#include "core/campaign/CampaignStore.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace tarvelo {

// Asks every site whether its address still answers, a few at a time, in the
// background of the caller's event loop. Emits siteChecked() once per site
// asked, and finished() exactly once per start(), also after cancel(). A site
// is alive when its final answer is 2xx, or 401/403 (it wants a login or
// keeps robots out, but it is there).
class SiteCheck : public QObject
{
    Q_OBJECT
public:
    using Site = QPair<qint64, QString>; // id, address

    static constexpr int MaxInFlight = 8;
    static constexpr int DefaultTimeoutMs = 15'000;

    // The manager is the caller's and must outlive the check.
    explicit SiteCheck(QNetworkAccessManager *network, QObject *parent = nullptr);
    // Aborts what is still in flight, without emitting anything.
    ~SiteCheck() override;

    // Time one site may take, redirects and a second try with GET included;
    // set before start().
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    void start(const QList<Site> &sites);
    // Aborts the requests in flight, asks no more sites, emits finished(true).
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void siteChecked(qint64 siteId, const tarvelo::CheckRecord &check);
    void progress(int done, int total);
    void finished(bool cancelled);

private:
    struct Job
    {
        qint64 siteId = 0;
        QUrl url;
        bool get = false;    // GET after the server refused HEAD
        QElapsedTimer clock; // runs from the first request for the site
        QList<QUrl> visited; // the address and every redirect target
        bool loop = false;
        bool timedOut = false;
    };

    void pump();
    void launch(Job job);
    void watch(QNetworkReply *reply);
    void onRedirected(QNetworkReply *reply, const QUrl &target);
    void onHeaders(QNetworkReply *reply);
    void onTimeout(QNetworkReply *reply);
    void onReplyFinished(QNetworkReply *reply);
    CheckRecord outcome(QNetworkReply *reply, const Job &job) const;
    QString failure(QNetworkReply *reply, const Job &job) const;
    void report(qint64 siteId, bool ok, const QString &result);
    void abortAll();

    QNetworkAccessManager *m_network;
    int m_timeoutMs = DefaultTimeoutMs;
    QList<Job> m_queue;
    QHash<QNetworkReply *, Job> m_inFlight;
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
};

} // namespace tarvelo
