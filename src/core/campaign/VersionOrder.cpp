#include "core/campaign/VersionOrder.h"

#include <QList>

#include <optional>

namespace tarvelo {

namespace {

// "1.10.2" as {1, 10, 2}; nothing when a part is not a plain number.
std::optional<QList<qulonglong>> numericParts(const QString &version)
{
    QList<qulonglong> parts;
    for (const QStringView part : QStringView(version).trimmed().split(u'.')) {
        bool ok = false;
        const qulonglong number = part.toULongLong(&ok);
        if (!ok || part.isEmpty() || !part.front().isDigit())
            return std::nullopt;
        parts.append(number);
    }
    return parts;
}

} // namespace

bool isOlderVersion(const QString &version, const QString &current)
{
    if (current.trimmed().isEmpty())
        return false;
    const auto sent = numericParts(version);
    const auto now = numericParts(current);
    if (!sent || !now)
        return version.trimmed() != current.trimmed();
    const qsizetype count = std::max(sent->size(), now->size());
    for (qsizetype i = 0; i < count; ++i) {
        const qulonglong a = sent->value(i, 0);
        const qulonglong b = now->value(i, 0);
        if (a != b)
            return a < b;
    }
    return false;
}

QString newestVersion(const QStringList &versions)
{
    QString newest = versions.value(0);
    for (const QString &version : versions) {
        // Strictly newer: different text is "older" both ways round.
        if (isOlderVersion(newest, version) && !isOlderVersion(version, newest))
            newest = version;
    }
    return newest;
}

} // namespace tarvelo
