#pragma once

// The entity table written out row by row and applied the slow, obvious way:
// one full replace pass per row, in row order. The fast decoder is checked
// against it; nothing here shares code with the program.

#include <QList>
#include <QString>

#include <utility>

namespace tarvelo::reference {

// Windows-1252 for the bytes 0x80 to 0x9F; the five unassigned bytes keep
// their own code.
inline char16_t windows1252Char(int byte)
{
    // clang-format off
    switch (byte) {
    case 0x80: return 0x20AC; // euro sign
    case 0x81: return 0x0081;
    case 0x82: return 0x201A;
    case 0x83: return 0x0192;
    case 0x84: return 0x201E;
    case 0x85: return 0x2026;
    case 0x86: return 0x2020; // dagger
    case 0x87: return 0x2021;
    case 0x88: return 0x02C6;
    case 0x89: return 0x2030;
    case 0x8A: return 0x0160; // S with caron
    case 0x8B: return 0x2039;
    case 0x8C: return 0x0152;
    case 0x8D: return 0x008D;
    case 0x8E: return 0x017D;
    case 0x8F: return 0x008F;
    case 0x90: return 0x0090;
    case 0x91: return 0x2018;
    case 0x92: return 0x2019; // right single quotation mark
    case 0x93: return 0x201C;
    case 0x94: return 0x201D;
    case 0x95: return 0x2022;
    case 0x96: return 0x2013;
    case 0x97: return 0x2014;
    case 0x98: return 0x02DC;
    case 0x99: return 0x2122;
    case 0x9A: return 0x0161;
    case 0x9B: return 0x203A;
    case 0x9C: return 0x0153;
    case 0x9D: return 0x009D;
    case 0x9E: return 0x017E;
    case 0x9F: return 0x0178; // Y with diaeresis
    default: return char16_t(byte); // 0xA0 to 0xFF: same code
    }
    // clang-format on
}

// Rows 0 to 132: entity text and replacement.
inline const QList<std::pair<QString, QString>> &entityTable()
{
    static const QList<std::pair<QString, QString>> table = [] {
        QList<std::pair<QString, QString>> rows;
        rows.append({QStringLiteral("&quot;"), QStringLiteral("\"")});
        rows.append({QStringLiteral("&amp;"), QStringLiteral("&")});
        rows.append({QStringLiteral("&apos;"), QStringLiteral("'")});
        rows.append({QStringLiteral("&lt;"), QStringLiteral("<")});
        rows.append({QStringLiteral("&gt;"), QStringLiteral(">")});
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const QString entity = QStringLiteral("&#x%1;").arg(byte, 2, 16, QLatin1Char('0'));
            rows.append({entity, QString(QChar(windows1252Char(byte)))});
        }
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
