#include "core/browser/SiteDirectory.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace tarvelo {

QString SiteDirectory::resourcePath()
{
    return u":/sites.txt"_s;
}

QStringList SiteDirectory::parse(const QByteArray &text)
{
    QStringList sites;
    for (const QByteArray &line : text.split('\n')) {
        const QString address = QString::fromUtf8(line).trimmed();
        if (!address.isEmpty())
            sites.append(address);
    }
    return sites;
}

QStringList SiteDirectory::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

bool siteOrderLess(const QString &a, const QString &b)
{
    return siteOrderKey(a) < siteOrderKey(b);
}

QString siteOrderKey(const QString &address)
{
    return QString(address).remove(u'-').toCaseFolded();
}

} // namespace tarvelo
