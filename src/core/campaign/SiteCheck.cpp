#include "core/campaign/SiteCheck.h"

#include "core/network/WebRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace tarvelo {

using namespace web;

namespace {

bool isAlive(int status)
{
    return (status >= 200 && status < 300) || status == 401 || status == 403;
}

// "http://example.com" and "http://example.com/" are the same page.
bool isSamePage(const QUrl &a, const QUrl &b)
{
    const auto same = QUrl::NormalizePathSegments | QUrl::StripTrailingSlash;
    return a.adjusted(same) == b.adjusted(same);
}

} // namespace

SiteCheck::SiteCheck(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent), m_network(network)
{
}

SiteCheck::~SiteCheck()
{
    abortAll();
}

void SiteCheck::start(const QList<Site> &sites)
{
    if (m_running)
        return;
    m_running = true;
    m_queue.clear();
    m_done = 0;
    m_total = int(sites.size());
    for (const auto &[siteId, address] : sites) {
        Job job;
        job.siteId = siteId;
        job.url = webUrl(address);
        m_queue.append(job);
    }
    emit progress(m_done, m_total);
    pump();
}

void SiteCheck::cancel()
{
    if (!m_running)
        return;
    abortAll();
    m_running = false;
    emit finished(true);
}

void SiteCheck::abortAll()
{
    m_queue.clear();
    web::abortReplies(m_inFlight, this);
}

void SiteCheck::pump()
{
    while (m_running && !m_queue.isEmpty()) {
        // An address that cannot be asked is answered at once and takes no slot.
        if (!isWebAddress(m_queue.first().url))
            report(m_queue.takeFirst().siteId, false,
                   QStringLiteral("not an http or https address"));
        else if (m_inFlight.size() < MaxInFlight)
            launch(m_queue.takeFirst());
        else
            break;
    }
    if (m_running && m_queue.isEmpty() && m_inFlight.isEmpty()) {
        m_running = false;
        emit finished(false);
    }
}

void SiteCheck::launch(Job job)
{
    if (!job.clock.isValid())
        job.clock.start();
    job.visited = {job.url};
    const qint64 left = m_timeoutMs - job.clock.elapsed();
    if (left <= 0) { // used up by the HEAD before the GET
        job.timedOut = true;
        report(job.siteId, false, failure(nullptr, job));
        return;
    }
    const QNetworkRequest request = web::request(job.url);
    QNetworkReply *reply = job.get ? m_network->get(request) : m_network->head(request);
    m_inFlight.insert(reply, job);
    watch(reply);
    QTimer::singleShot(int(left), reply, [this, reply] { onTimeout(reply); });
}

void SiteCheck::watch(QNetworkReply *reply)
{
    connect(reply, &QNetworkReply::redirected, this,
            [this, reply](const QUrl &target) { onRedirected(reply, target); });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { onHeaders(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
}

void SiteCheck::onRedirected(QNetworkReply *reply, const QUrl &target)
{
    const auto it = m_inFlight.find(reply);
    if (it == m_inFlight.end())
        return;
    const QUrl next = it->visited.last().resolved(target);
    // Going round in circles ends the same way however long it is let run.
    it->loop = it->visited.contains(next);
    it->visited.append(next);
    if (it->loop)
        reply->abort();
}

void SiteCheck::onHeaders(QNetworkReply *reply)
{
    const auto it = m_inFlight.find(reply);
    if (it == m_inFlight.end() || !it->get || isRedirectOnTheWay(reply))
        return;
    // The status is in; the body may be a whole page or an installer. Not
    // from inside the signal: an error status is still being reported.
    QTimer::singleShot(0, reply, [reply] {
        if (reply->isRunning())
            reply->abort();
    });
}

void SiteCheck::onTimeout(QNetworkReply *reply)
{
    const auto it = m_inFlight.find(reply);
    if (it == m_inFlight.end())
        return;
    it->timedOut = true;
    reply->abort();
}

void SiteCheck::onReplyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    const auto it = m_inFlight.constFind(reply);
    if (it == m_inFlight.constEnd())
        return;
    Job job = *it;
    m_inFlight.erase(it);
    if (!job.get && !job.timedOut && refusesHead(httpStatus(reply))) {
        job.get = true;
        m_queue.prepend(job);
    } else {
        const CheckRecord check = outcome(reply, job);
        report(job.siteId, check.ok, check.result);
    }
    pump();
}

CheckRecord SiteCheck::outcome(QNetworkReply *reply, const Job &job) const
{
    const int status = httpStatus(reply);
    const bool answered = status > 0 && !job.loop && !job.timedOut &&
                          reply->error() != QNetworkReply::TooManyRedirectsError;
    if (!answered)
        return {{}, false, failure(reply, job)};
    const bool ok = isAlive(status);
    if (isRedirectOnTheWay(reply)) { // one the manager would not follow
        const QUrl target = reply->url().resolved(
            reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
        return {{},
                ok,
                QStringLiteral("%1 to %2, not followed").arg(statusText(reply), target.toString())};
    }
    if (isSamePage(reply->url(), job.url))
        return {{}, ok, statusText(reply)};
    const QString moved = QStringLiteral("moved to %1").arg(reply->url().toString());
    return {{}, ok, status < 300 ? moved : QStringLiteral("%1: %2").arg(moved, statusText(reply))};
}

QString SiteCheck::failure(QNetworkReply *reply, const Job &job) const
{
    if (job.timedOut)
        return QStringLiteral("timed out after %1 s").arg(m_timeoutMs / 1000.0);
    if (job.loop)
        return QStringLiteral("redirect loop back to %1").arg(job.visited.last().toString());
    switch (reply->error()) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("host not found");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connection refused");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("connection closed without an answer");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("secure connection failed");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("more than %1 redirects").arg(MaxRedirects);
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("redirected from https to http, not followed");
    case QNetworkReply::TimeoutError:
        return QStringLiteral("timed out after %1 s").arg(m_timeoutMs / 1000.0);
    default:
        return reply->errorString();
    }
}

void SiteCheck::report(qint64 siteId, bool ok, const QString &result)
{
    ++m_done;
    emit siteChecked(siteId, CheckRecord{QDateTime::currentDateTimeUtc(), ok, result});
    // A slot of siteChecked() may have cancelled the check.
    if (m_running)
        emit progress(m_done, m_total);
}

} // namespace tarvelo
