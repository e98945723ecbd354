#pragma once

#include <QString>
#include <QUrl>

namespace tarvelo {

// A directory site's address as the store compares it: only http and https,
// scheme and host in lower case, the default port dropped, no trailing slash
// on the path, no fragment. Two addresses are the same site when their keys
// are equal.
class SiteAddress
{
public:
    // Why an address cannot be a site; empty when it can.
    static QString problem(const QString &address);

    // The comparison key; empty when problem() is not empty.
    static QString key(const QString &address);

    // The page host a taught form box belongs to: lower case, without a
    // leading "www.". Empty for a page that is not http or https.
    static QString hostKey(const QUrl &page);
};

} // namespace tarvelo
