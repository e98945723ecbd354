#include "core/profiles/PadFileSize.h"

#include "core/profiles/TidyValue.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace tarvelo {

namespace {

// Fifteen digits keep every worked-out value exact in a double and a qint64.
std::optional<double> parseSize(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,15}(\\.[0-9]+)?$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

QString kilobytesText(double bytes)
{
    const qint64 kilobytes = std::llround(bytes / 1024);
    return QString::number(kilobytes == 0 && bytes > 0 ? 1 : kilobytes);
}

QString megabytesText(double bytes)
{
    const double hundredths = std::round(bytes / (1024.0 * 1024.0) * 100);
    return QString::number((hundredths == 0 && bytes > 0 ? 1 : hundredths) / 100, 'f', 2);
}

} // namespace

PadFileSize PadFileSize::fromTexts(const QString &bytes, const QString &kilobytes,
                                   const QString &megabytes)
{
    PadFileSize size{tidySingleLine(bytes), tidySingleLine(kilobytes), tidySingleLine(megabytes)};
    std::optional<double> inBytes = parseSize(size.bytes);
    if (!inBytes) {
        if (const auto inKilobytes = parseSize(size.kilobytes))
            inBytes = std::round(*inKilobytes * 1024);
    }
    if (!inBytes)
        return size;
    if (size.bytes.isEmpty())
        size.bytes = QString::number(qint64(*inBytes));
    if (size.kilobytes.isEmpty())
        size.kilobytes = kilobytesText(*inBytes);
    if (size.megabytes.isEmpty())
        size.megabytes = megabytesText(*inBytes);
    return size;
}

} // namespace tarvelo
