#pragma once

#include <QHash>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

namespace tarvelo::web {

// What the online check and the site check share about asking an address.

inline constexpr int MaxRedirects = 10;

// The address as typed, without the blanks around it.
QUrl webUrl(const QString &address);
// Only http and https addresses with a host are asked; "ftp:", "file:" or a
// bare name are not.
bool isWebAddress(const QUrl &url);
// Follows redirects, never from https to http, and names the program to the
// server.
QNetworkRequest request(const QUrl &url);

int httpStatus(QNetworkReply *reply);
// "404 Not Found"; the number alone when the server gives no phrase.
QString statusText(QNetworkReply *reply);
// A 3xx on the way to the final answer, which the manager follows by itself.
bool isRedirectOnTheWay(QNetworkReply *reply);
// Many servers refuse HEAD but answer GET.
bool refusesHead(int status);

// Hangs up every reply of a check at once; none of them reports to receiver
// any more.
template <typename Job> void abortReplies(QHash<QNetworkReply *, Job> &inFlight, QObject *receiver)
{
    const auto replies = inFlight.keys();
    inFlight.clear();
    for (QNetworkReply *reply : replies) {
        reply->disconnect(receiver);
        reply->abort();
        reply->deleteLater();
    }
}

} // namespace tarvelo::web
