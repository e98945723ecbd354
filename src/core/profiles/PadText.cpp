#include "core/profiles/PadText.h"

#include <cstring>
#include <optional>
#include <utility>

namespace tarvelo {

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own code.
constexpr char16_t windows1252Controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char16_t windows1252(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return windows1252Controls[byte - 0x80];
    return byte; // ASCII and 0xA0-0xFF have the same code in Unicode
}

// ---- entities ----

// Whether the text at `p` starts with `literal` (given without its final NUL).
template <std::size_t N>
bool startsWith(const char16_t *p, const char16_t *end, const char16_t (&literal)[N])
{
    constexpr std::size_t length = N - 1;
    if (std::size_t(end - p) < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (p[i] != literal[i])
            return false;
    }
    return true;
}

int lowerHexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

struct Entity
{
    char16_t character;
    int length; // characters matched after the ampersand
};

// The entities that are decoded after "&amp;" has been: "&apos;", "&lt;",
// "&gt;" and "&#x80;" to "&#xff;". `p` is the text right after an ampersand.
std::optional<Entity> matchLateEntity(const char16_t *p, const char16_t *end)
{
    if (startsWith(p, end, u"lt;"))
        return Entity{u'<', 3};
    if (startsWith(p, end, u"gt;"))
        return Entity{u'>', 3};
    if (startsWith(p, end, u"apos;"))
        return Entity{u'\'', 5};
    if (end - p < 5 || p[0] != u'#' || p[1] != u'x' || p[4] != u';')
        return std::nullopt;
    const int high = lowerHexDigit(p[2]);
    const int low = lowerHexDigit(p[3]);
    if (high < 8 || low < 0) // below 0x80 the table has no row
        return std::nullopt;
    return Entity{windows1252(uchar(high * 16 + low)), 5};
}

// Decodes what starts at the ampersand `at`, writes the result to `out` and
// returns the first character after what it used.
//
// The table is defined row by row: "&quot;" first, then "&amp;", then the rest.
// No replacement character occurs in any entity text and two entity texts cannot
// overlap (an ampersand only at the start, a semicolon only at the end), so the
// rows do not disturb each other, except that an ampersand made by "&amp;" can
// start one of the later entities. One left-to-right scan that looks behind each
// "&amp;" for a later entity gives the same text as the rows one by one.
const char16_t *decodeAmpersand(const char16_t *at, const char16_t *end, char16_t *&out)
{
    const char16_t *rest = at + 1;
    if (startsWith(rest, end, u"amp;")) {
        rest += 4;
        if (const auto late = matchLateEntity(rest, end)) {
            *out++ = late->character;
            return rest + late->length;
        }
        *out++ = u'&'; // "&amp;quot;" and "&amp;amp;" end here: their rows have run
        return rest;
    }
    if (startsWith(rest, end, u"quot;")) {
        *out++ = u'"';
        return rest + 5;
    }
    if (const auto late = matchLateEntity(rest, end)) {
        *out++ = late->character;
        return rest + late->length;
    }
    *out++ = u'&';
    return rest;
}

const char16_t *findAmpersand(const char16_t *from, const char16_t *end)
{
    const qsizetype at = QStringView(from, end).indexOf(u'&');
    return at < 0 ? end : from + at;
}

// Decodes [in, end) into `out` and returns the end of what it wrote. `out` may
// be `in` itself: the output never gets ahead of the input.
char16_t *decodeInto(const char16_t *in, const char16_t *end, char16_t *out)
{
    for (;;) {
        const char16_t *ampersand = findAmpersand(in, end);
        if (out != in)
            std::memmove(out, in, (ampersand - in) * sizeof(char16_t));
        out += ampersand - in;
        if (ampersand == end)
            return out;
        in = decodeAmpersand(ampersand, end, out);
    }
}

// ---- bytes ----

// Length (1 to 4) of the well-formed UTF-8 sequence at `p` and its code point;
// 0 for a malformed or cut-off sequence. Overlong forms, surrogates and code
// points above U+10FFFF are malformed.
int utf8Sequence(const uchar *p, qsizetype available, char32_t &codePoint)
{
    const uchar lead = p[0];
    int length = 0;
    uchar secondMin = 0x80;
    uchar secondMax = 0xBF;
    char32_t cp = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            secondMin = 0xA0; // overlong
        if (lead == 0xED)
            secondMax = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            secondMin = 0x90; // overlong
        if (lead == 0xF4)
            secondMax = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (available < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        const uchar b = p[i];
        const uchar min = i == 1 ? secondMin : uchar(0x80);
        const uchar max = i == 1 ? secondMax : uchar(0xBF);
        if (b < min || b > max)
            return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    codePoint = cp;
    return length;
}

std::optional<QString> fromStrictUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    QString out(size, Qt::Uninitialized); // never more UTF-16 units than bytes
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    qsizetype i = 0;
    while (i < size) {
        if (p[i] < 0x80) {
            *dst++ = p[i++];
            continue;
        }
        char32_t cp = 0;
        const int length = utf8Sequence(p + i, size - i, cp);
        if (length == 0)
            return std::nullopt;
        if (cp >= 0x10000) {
            *dst++ = QChar::highSurrogate(cp);
            *dst++ = QChar::lowSurrogate(cp);
        } else {
            *dst++ = char16_t(cp);
        }
        i += length;
    }
    out.resize(dst - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (const char c : bytes)
        *dst++ = windows1252(uchar(c));
    return out;
}

QString fromUtf16(QByteArrayView bytes, bool littleEndian)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    auto unitAt = [&](qsizetype k) -> char16_t {
        const uchar first = p[2 * k];
        const uchar second = p[2 * k + 1];
        return littleEndian ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    };
    QString out;
    out.reserve(units + 1);
    for (qsizetype k = 0; k < units; ++k) {
        const char16_t unit = unitAt(k);
        if (QChar::isHighSurrogate(unit) && k + 1 < units && QChar::isLowSurrogate(unitAt(k + 1))) {
            out.append(QChar(unit));
            out.append(QChar(unitAt(++k)));
        } else if (QChar::isSurrogate(unit)) {
            out.append(QChar::ReplacementCharacter); // a half pair is not text
        } else {
            out.append(QChar(unit));
        }
    }
    if (bytes.size() % 2 != 0)
        out.append(QChar::ReplacementCharacter); // a cut-off last unit stays visible
    return out;
}

} // namespace

QString decodeEntities(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    const auto *in = reinterpret_cast<const char16_t *>(text.constData());
    QString decoded(text.size(), Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(decoded.data());
    decoded.truncate(decodeInto(in, in + text.size(), out) - out);
    return decoded;
}

QString decodeEntitiesInPlace(QString &&text)
{
    // Decoded in the text's own buffer (data() copies it only when shared): a
    // large PAD file then needs one copy of its text, not two.
    if (!text.contains(u'&'))
        return std::move(text);
    auto *begin = reinterpret_cast<char16_t *>(text.data());
    text.truncate(decodeInto(begin, begin + text.size(), begin) - begin);
    return std::move(text);
}

QString getString(const QString &padText, const QString &startStr)
{
    if (startStr.isEmpty())
        return {};
    const qsizetype start = padText.indexOf(startStr);
    if (start < 0)
        return {};
    // The closing tag is searched from the beginning too: one that appears
    // before the first opening tag means there is no value.
    const QString endStr = startStr.first(1) + u'/' + startStr.sliced(1);
    const qsizetype end = padText.indexOf(endStr);
    if (end < 0)
        return {};
    const qsizetype valueStart = start + startStr.size();
    if (end < valueStart)
        return {};
    return padText.sliced(valueStart, end - valueStart);
}

QString decodePadBytes(const QByteArray &bytes)
{
    const QByteArrayView all(bytes);
    if (all.startsWith("\xFF\xFE"))
        return fromUtf16(all.sliced(2), true);
    if (all.startsWith("\xFE\xFF"))
        return fromUtf16(all.sliced(2), false);
    // A UTF-8 byte-order mark is never content, even when the rest is not UTF-8.
    const QByteArrayView body = all.startsWith("\xEF\xBB\xBF") ? all.sliced(3) : all;
    if (auto text = fromStrictUtf8(body))
        return *std::move(text);
    return fromWindows1252(body);
}

} // namespace tarvelo
