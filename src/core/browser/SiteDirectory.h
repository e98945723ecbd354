#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvelo {

// The submission pages shown in lstSites. The list ships as a resource text,
// one address a line, already in the list's order (see siteOrderLess).
class SiteDirectory
{
public:
    // The shipped list, compiled into the program.
    static QString resourcePath();

    // Addresses from a text, one a line; blank lines and surrounding blanks
    // are dropped, the order is kept.
    static QStringList parse(const QByteArray &text);

    // The addresses of the list file at path; empty when it cannot be read.
    static QStringList load(const QString &path = resourcePath());
};

// The list's order: letters compared without regard to case, hyphens not
// counted, as a sorted list box orders its entries.
bool siteOrderLess(const QString &a, const QString &b);
// What siteOrderLess compares, made once per address to sort a long list.
QString siteOrderKey(const QString &address);

} // namespace tarvelo
