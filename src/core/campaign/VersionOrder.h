#pragma once

#include <QString>
#include <QStringList>

namespace tarvelo {

// Whether a site holds an older version of a program than current: dotted
// numbers compare part by part as numbers ("1.9" is older than "1.10", "2" and
// "2.0" are the same). When either one is not dotted numbers, any different
// text counts as older. An empty current version makes nothing older.
bool isOlderVersion(const QString &version, const QString &current);

// The highest of the versions a program was sent with, given most recent
// first. Text that is not dotted numbers has no order: the most recent wins
// over it.
QString newestVersion(const QStringList &versions);

} // namespace tarvelo
