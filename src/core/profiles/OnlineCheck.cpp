#include "core/profiles/OnlineCheck.h"

#include "core/network/WebRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace tarvelo {

using namespace web;

OnlineCheck::Local OnlineCheck::Local::fromPad(const PadReader::Pad &pad)
{
    Local local{
        pad.value(Field::ProgName), pad.value(Field::ProgVer), pad.value(Field::PADURL), {}};
    for (Field field : {Field::ProgURL, Field::SecURL, Field::SShotURL, Field::ProgIcon})
        local.addresses.append({field, pad.value(field)});
    return local;
}

OnlineCheck::OnlineCheck(Local local, QNetworkAccessManager *network, QObject *parent)
    : QObject(parent), m_local(std::move(local)), m_network(network)
{
}

OnlineCheck::~OnlineCheck()
{
    abortAll();
}

void OnlineCheck::start()
{
    if (m_running)
        return;
    m_running = true;
    m_report = {};
    m_queue.clear();
    m_done = 0;
    m_total = 1 + int(m_local.addresses.size());
    for (const auto &[field, address] : m_local.addresses)
        addRow(field, address);
    if (isWebAddress(webUrl(m_local.padUrl))) {
        m_queue.prepend(Job{PadJob, true});
    } else {
        m_report.padOutcome = OnlineReport::PadOutcome::Unreachable;
        m_report.padReason = QStringLiteral("not a web address");
        ++m_done;
    }
    emit progress(m_done, m_total);
    finishIfComplete();
    pump();
}

void OnlineCheck::addRow(Field field, const QString &address)
{
    OnlineReport::Address row;
    row.field = field;
    row.address = address;
    if (isWebAddress(webUrl(address))) {
        m_queue.append(Job{int(m_report.addresses.size()), false});
    } else {
        row.outcome = OnlineReport::AddressOutcome::NotWebAddress;
        ++m_done;
    }
    m_report.addresses.append(row);
}

void OnlineCheck::cancel()
{
    if (!m_running)
        return;
    abortAll();
    m_report.cancelled = true;
    m_running = false;
    emit finished(m_report);
}

void OnlineCheck::abortAll()
{
    m_queue.clear();
    web::abortReplies(m_inFlight, this);
}

void OnlineCheck::pump()
{
    while (m_running && m_inFlight.size() < MaxInFlight && !m_queue.isEmpty())
        launch(m_queue.takeFirst());
}

void OnlineCheck::launch(Job job)
{
    const QString &address =
        job.row == PadJob ? m_local.padUrl : m_report.addresses[job.row].address;
    QNetworkRequest request = web::request(webUrl(address));
    request.setTransferTimeout(m_timeoutMs);
    QNetworkReply *reply = job.get ? m_network->get(request) : m_network->head(request);
    m_inFlight.insert(reply, job);
    watch(reply);
}

void OnlineCheck::watch(QNetworkReply *reply)
{
    connect(reply, &QNetworkReply::redirected, this, [this, reply] {
        if (m_inFlight.contains(reply))
            ++m_inFlight[reply].redirects;
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
    // Both come soon after the headers or the first bytes of the answer arrive.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { onArriving(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onArriving(reply); });
}

void OnlineCheck::onArriving(QNetworkReply *reply)
{
    const auto it = m_inFlight.find(reply);
    if (it == m_inFlight.end() || !it->get || isRedirectOnTheWay(reply))
        return;
    const int status = httpStatus(reply);
    const bool tooLarge =
        reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxPadSize ||
        reply->bytesAvailable() > MaxPadSize;
    // An address's status is known with the headers, and the rest may be a
    // whole installer; a PAD file is read unless it is too large to be one.
    if (it->row != PadJob || (status >= 200 && status < 300 && tooLarge)) {
        it->stoppedByUs = true;
        reply->abort();
    }
}

void OnlineCheck::onReplyFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    const auto it = m_inFlight.constFind(reply);
    if (it == m_inFlight.constEnd())
        return;
    const Job job = *it;
    m_inFlight.erase(it);
    if (job.row == PadJob)
        finishPad(reply, job);
    else
        finishAddress(reply, job);
    pump();
}

QString OnlineCheck::failure(QNetworkReply *reply, const Job &job) const
{
    if (job.stoppedByUs && job.row == PadJob)
        return QStringLiteral("larger than %1 MB: not a PAD file").arg(MaxPadSize >> 20);
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError)
        return QStringLiteral("no answer within %1 s").arg(m_timeoutMs / 1000.0);
    return reply->errorString();
}

void OnlineCheck::finishPad(QNetworkReply *reply, const Job &job)
{
    const int status = httpStatus(reply);
    const bool success = status >= 200 && status < 300;
    if (success && reply->error() == QNetworkReply::NoError) {
        comparePad(reply->readAll());
    } else {
        // A success cut short (too large, or stalled mid-file) says why, not "200 OK".
        m_report.padOutcome = OnlineReport::PadOutcome::Unreachable;
        m_report.padReason = status > 0 && !success ? statusText(reply) : failure(reply, job);
    }
    markDone();
}

void OnlineCheck::comparePad(const QByteArray &bytes)
{
    const PadReader::Pad online = PadReader::fromBytes(bytes);
    if (!online.padText.contains(QLatin1String("<XML_DIZ_INFO"))) {
        m_report.padOutcome = OnlineReport::PadOutcome::Unreachable;
        m_report.padReason = QStringLiteral("not a PAD file");
        return;
    }
    // Spacing and line breaks inside a value are not a different program.
    const std::pair<QString, std::pair<QString, QString>> pairs[] = {
        {QStringLiteral("program name"),
         {m_local.programName.simplified(), online.value(Field::ProgName).simplified()}},
        {QStringLiteral("version"),
         {m_local.version.simplified(), online.value(Field::ProgVer).simplified()}},
    };
    for (const auto &[name, values] : pairs) {
        if (values.first != values.second)
            m_report.differences.append({name, values.first, values.second});
    }
    m_report.padOutcome = m_report.differences.isEmpty() ? OnlineReport::PadOutcome::Same
                                                         : OnlineReport::PadOutcome::Differs;
}

void OnlineCheck::finishAddress(QNetworkReply *reply, const Job &job)
{
    const int status = httpStatus(reply);
    if (!job.get && refusesHead(status)) {
        m_queue.prepend(Job{job.row, true});
        return;
    }
    OnlineReport::Address &row = m_report.addresses[job.row];
    row.finalUrl = reply->url();
    row.redirects = job.redirects;
    if (status > 0) {
        row.outcome = OnlineReport::AddressOutcome::Answered;
        row.status = status;
        row.reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    } else {
        row.outcome = OnlineReport::AddressOutcome::Failed;
        row.error = failure(reply, job);
    }
    markDone();
}

void OnlineCheck::markDone()
{
    ++m_done;
    emit progress(m_done, m_total);
    finishIfComplete();
}

void OnlineCheck::finishIfComplete()
{
    if (m_running && m_done == m_total) {
        m_running = false;
        emit finished(m_report);
    }
}

} // namespace tarvelo
