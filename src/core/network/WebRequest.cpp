#include "core/network/WebRequest.h"

#include <QCoreApplication>
#include <QNetworkReply>

namespace tarvelo::web {

QUrl webUrl(const QString &address)
{
    return QUrl(address.trimmed(), QUrl::StrictMode);
}

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QNetworkRequest request(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    const QString version = QCoreApplication::applicationVersion();
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      version.isEmpty() ? QStringLiteral("Tarvelo")
                                        : QStringLiteral("Tarvelo/%1").arg(version));
    return request;
}

int httpStatus(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QString statusText(QNetworkReply *reply)
{
    const QString phrase =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    return QStringLiteral("%1 %2").arg(httpStatus(reply)).arg(phrase).trimmed();
}

bool isRedirectOnTheWay(QNetworkReply *reply)
{
    const int status = httpStatus(reply);
    return status >= 300 && status < 400 &&
           reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid();
}

bool refusesHead(int status)
{
    return status == 405 || status == 501;
}

} // namespace tarvelo::web
