#include "core/campaign/SiteAddress.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

bool isWebScheme(const QString &scheme)
{
    return scheme == "http"_L1 || scheme == "https"_L1;
}

QUrl parsed(const QString &address)
{
    return QUrl(address.trimmed(), QUrl::StrictMode);
}

// "example.com:8080/add" and "localhost:8080" parse as a scheme and a path;
// the user meant a host and a port and left out the scheme.
bool isHostAndPort(const QUrl &url)
{
    if (url.scheme().contains(u'.'))
        return true;
    if (!url.authority().isEmpty())
        return false;
    const QString path = url.path();
    const qsizetype end = path.indexOf(u'/');
    const QString port = path.left(end);
    return !port.isEmpty() &&
           std::all_of(port.cbegin(), port.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Why the parsed address cannot be a site; empty when it can.
QString problemOf(const QUrl &url)
{
    if (!url.isValid())
        return u"not a valid address"_s;
    const QString scheme = url.scheme().toLower();
    if (!isWebScheme(scheme))
        return scheme.isEmpty() || isHostAndPort(url)
                   ? u"no http:// or https:// in front"_s
                   : u"only http and https addresses are sites, not %1"_s.arg(scheme);
    if (url.host().isEmpty())
        return u"no host name"_s;
    return {};
}

} // namespace

QString SiteAddress::problem(const QString &address)
{
    const QString text = address.trimmed();
    if (text.isEmpty())
        return u"no address"_s;
    return problemOf(parsed(text));
}

QString SiteAddress::key(const QString &address)
{
    // Parsed once: an import keys every line of the file.
    QUrl url = parsed(address);
    if (address.trimmed().isEmpty() || !problemOf(url).isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    url.setScheme(scheme);
    url.setHost(url.host().toLower());
    if ((scheme == "http"_L1 && url.port() == 80) || (scheme == "https"_L1 && url.port() == 443))
        url.setPort(-1);
    url.setFragment({});
    // Encoded, so that "a%2Fb" stays one path segment.
    QString path = url.path(QUrl::FullyEncoded);
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path, QUrl::TolerantMode);
    return url.toString(QUrl::FullyEncoded);
}

QString SiteAddress::hostKey(const QUrl &page)
{
    if (!isWebScheme(page.scheme().toLower()))
        return {};
    QString host = page.host().toLower();
    if (host.startsWith("www."_L1))
        host.remove(0, 4);
    return host;
}

} // namespace tarvelo
