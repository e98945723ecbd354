#pragma once

#include <QString>

namespace tarvelo {

// The program's download size in bytes, kilobytes and megabytes. A size the
// file gives is kept as it stands (tidied to one line); a missing one is worked
// out from the bytes, or when those are no number from the kilobytes, with
// 1 KB = 1024 bytes and 1 MB = 1024 KB. Megabytes alone are too coarse to give
// the others. Worked-out values are plain numbers without a unit:
// whole bytes, whole kilobytes (rounded, at least 1 for a file that is not
// empty) and megabytes with two decimals (at least 0.01). A number is digits
// with at most one decimal point; anything else gives nothing to work from.
class PadFileSize
{
public:
    static PadFileSize fromTexts(const QString &bytes, const QString &kilobytes,
                                 const QString &megabytes);

    QString bytes;
    QString kilobytes;
    QString megabytes;
};

} // namespace tarvelo
