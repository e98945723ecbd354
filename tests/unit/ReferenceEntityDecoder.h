#pragma once

// The entity table written out and applied the slow, obvious way: one full
// replace pass per row, in row order. The fast decoder is checked against it;
// nothing here shares code with the program.

#include <QList>
#include <QString>

namespace tarvelo::reference {

// Windows-1252 for the bytes 0x80 to 0x9F (the five unassigned ones keep their
// own code); 0xA0 to 0xFF are the same code.
inline char16_t windows1252Char(int byte)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte <= 0x9F ? high[byte - 0x80] : char16_t(byte);
}

// Rows 0 to 132: entity text and replacement.
inline const QList<std::pair<QString, QString>> &entityTable()
{
    static const auto table = [] {
        QList<std::pair<QString, QString>> rows;
        for (const char *named : {"&quot;\"", "&amp;&", "&apos;'", "&lt;<", "&gt;>"})
            rows.append(
                {QString::fromLatin1(named).chopped(1), QString::fromLatin1(named).right(1)});
        for (int byte = 0x80; byte <= 0xFF; ++byte)
            rows.append({QStringLiteral("&#x%1;").arg(byte, 2, 16), QChar(windows1252Char(byte))});
        return rows;
    }();
    return table;
}

// 133 passes; QString::replace scans left to right without overlap and does
// not rescan what it has put in.
inline QString decodeEntities(QString text)
{
    for (const auto &[entity, replacement] : entityTable())
        text.replace(entity, replacement);
    return text;
}

} // namespace tarvelo::reference
