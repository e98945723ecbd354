#pragma once

#include "core/campaign/SiteEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarvelo {

// A line of a site list that gave no site, and why. Line 0 stands for the
// file as a whole (too large, not text, unreadable): nothing of it was read.
struct SiteListProblem
{
    int line = 0;
    QString reason;

    bool operator==(const SiteListProblem &) const = default;
};

// Site lists as the user keeps them outside the program. A text list holds one
// address per line, with blank lines and lines starting with "#" left out. A
// CSV list (RFC 4180) holds url[,name,note] per record, with an optional
// header row whose first field is "url" or "address". Import keeps the good
// entries and the problems apart: whether a list with problems is imported at
// all is the user's decision.
class SiteListFile
{
public:
    enum class Format { Text, Csv };

    struct Import
    {
        QList<SiteEntry> entries;
        QList<SiteListProblem> problems;
    };

    // Larger files are refused before they are read.
    static constexpr qint64 MaxBytes = 20 * 1024 * 1024;
    // Longer addresses are refused without parsing them.
    static constexpr qsizetype MaxAddressLength = 2048;

    // CSV for a ".csv" file (any case), text otherwise.
    static Format formatFor(const QString &filePath);

    static Import read(const QString &filePath);
    static Import parse(const QByteArray &bytes, Format format);

    // Text: one address per line. CSV: a url,name,note header, CRLF line
    // ends, fields quoted where they need it. Written whole or not at all.
    static bool write(const QString &filePath, const QList<SiteEntry> &entries, QString *error);
    static QByteArray toBytes(const QList<SiteEntry> &entries, Format format);
};

} // namespace tarvelo
