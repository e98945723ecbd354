#include "ReferenceEntityDecoder.h"
#include "profiles/PadText.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QString chars(std::initializer_list<char16_t> units)
{
    QString s;
    for (char16_t u : units)
        s.append(QChar(u));
    return s;
}

QString visible(const QString &s)
{
    QString out;
    for (QChar c : s) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out.append(c);
        else
            out.append(u"\\u%1"_s.arg(c.unicode(), 4, 16, QLatin1Char('0')));
    }
    return out;
}

// Strings from an alphabet where entity texts are frequent and near-misses
// (capital hex, missing semicolons, doubled ampersands) are too.
QString randomEntityText(QRandomGenerator &rng, int maxPieces)
{
    // clang-format off
    static const QStringList pieces = {
        u"&"_s,      u"&"_s,      u"&"_s,      u"a"_s,      u"m"_s,      u"p"_s,
        u";"_s,      u";"_s,      u"#"_s,      u"x"_s,      u"X"_s,      u"l"_s,
        u"t"_s,      u"q"_s,      u"u"_s,      u"o"_s,      u"g"_s,      u"s"_s,
        u"0"_s,      u"7"_s,      u"8"_s,      u"9"_s,      u"a"_s,      u"c"_s,
        u"e"_s,      u"f"_s,      u"A"_s,      u"E"_s,      u"F"_s,      u" "_s,
        u"\u00e9"_s, u"amp;"_s,   u"&amp;"_s,  u"&amp;"_s,  u"&quot;"_s, u"quot;"_s,
        u"&lt;"_s,   u"lt;"_s,    u"&gt;"_s,   u"gt;"_s,    u"&apos;"_s, u"apos;"_s,
        u"&#x"_s,    u"#x"_s,     u"&#x8"_s,   u"&#xe9;"_s, u"&#xE9;"_s, u"e9;"_s,
        u"&#x81;"_s, u"81;"_s,    u"&#x7f;"_s, u"&#xff;"_s, u"ff;"_s,    u"&#60;"_s,
    };
    // clang-format on
    const int count = rng.bounded(maxPieces + 1);
    QString s;
    for (int i = 0; i < count; ++i)
        s += pieces.at(rng.bounded(int(pieces.size())));
    return s;
}

// The decoder reuses the buffer of a text that nobody else holds.
QString decodeInOwnBuffer(const QString &text)
{
    QString own = text;
    own.detach();
    return tarvelo::decodeEntitiesInPlace(std::move(own));
}

QString fromWindows1252Reference(const QByteArray &bytes)
{
    QString s;
    for (char c : bytes)
        s.append(QChar(reference::windows1252Char(uchar(c))));
    return s;
}

// Byte strings that are often valid UTF-8 and often almost valid.
QByteArray randomUtf8ishBytes(QRandomGenerator &rng)
{
    // clang-format off
    static const QList<QByteArray> pieces = {
        "a",        "<",           "\xC3\xA9",         "\xE2\x82\xAC",     "\xF0\x9F\x98\x80",
        "\xF4\x8F\xBF\xBF",        "\xC2\x80",         "\xDF\xBF",         "\xE0\xA0\x80",
        "\xED\x9F\xBF",            "\xEE\x80\x80",     "\xEF\xBF\xBF",     "\xC0\xAF",
        "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80",    "\xED\xBF\xBF",     "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",        "\xF5\x80\x80\x80", "\xFF",             "\xFE",
        "\x80",     "\xBF",        "\xC3",             "\xE2\x82",         "\xF0\x9F\x98",
        "\xE9",     "\x92",        "\x81",             QByteArray("\0", 1),
    };
    // clang-format on
    QByteArray b = "x"; // never a byte-order mark
    const int count = rng.bounded(12);
    for (int i = 0; i < count; ++i)
        b += pieces.at(rng.bounded(int(pieces.size())));
    return b;
}

} // namespace

class TestPadText : public QObject
{
    Q_OBJECT

private slots:
    void referenceTableHasTheRowsInOrder();
    void decodeEntities_data();
    void decodeEntities();
    void decodingInPlaceLeavesSharedTextAlone();
    void decodeEntitiesEveryRow_data();
    void decodeEntitiesEveryRow();
    void decodeEntitiesMatchesReferenceOnRandomText();
    void decodeEntitiesLongTextMatchesReference();
    void getString_data();
    void getString();
    void escapedTagIsFoundAfterDecoding();
    void decodePadBytes_data();
    void decodePadBytes();
    void utf8DecisionMatchesQtStrictDecoder();
    void noReadingPastTheEnd();
};

void TestPadText::referenceTableHasTheRowsInOrder()
{
    // The model is the judge of the fast decoder, so check its table against
    // the rows named in the table description.
    const auto &table = reference::entityTable();
    QCOMPARE(table.size(), 133);
    QCOMPARE(table.at(0).first, u"&quot;"_s);
    QCOMPARE(table.at(1).first, u"&amp;"_s);
    QCOMPARE(table.at(4).first, u"&gt;"_s);
    QCOMPARE(table.at(5).first, u"&#x80;"_s);
    QCOMPARE(table.at(5).second, chars({0x20AC}));
    QCOMPARE(table.at(37).first, u"&#xa0;"_s);
    QCOMPARE(table.at(69).first, u"&#xc0;"_s);
    QCOMPARE(table.at(69).second, chars({0xC0}));
    QCOMPARE(table.at(132).first, u"&#xff;"_s);
    QCOMPARE(table.at(132).second, chars({0xFF}));
}

void TestPadText::decodeEntities_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no ampersand") << u"Program <Name> \"x\" 'y'"_s << u"Program <Name> \"x\" 'y'"_s;
    QTest::newRow("quot") << u"&quot;"_s << u"\""_s;
    QTest::newRow("amp") << u"&amp;"_s << u"&"_s;
    QTest::newRow("apos") << u"&apos;"_s << u"'"_s;
    QTest::newRow("lt gt") << u"&lt;b&gt;"_s << u"<b>"_s;
    QTest::newRow("in text") << u"Tom &amp; Jerry"_s << u"Tom & Jerry"_s;

    // The order of the rows shows through.
    QTest::newRow("amp then lt") << u"&amp;lt;"_s << u"<"_s;
    QTest::newRow("amp then gt") << u"&amp;gt;"_s << u">"_s;
    QTest::newRow("amp then apos") << u"&amp;apos;"_s << u"'"_s;
    QTest::newRow("amp then hex") << u"&amp;#xe9;"_s << u"\u00e9"_s;
    QTest::newRow("amp then 0x81") << u"&amp;#x81;"_s << chars({0x81});
    QTest::newRow("amp then quot stays") << u"&amp;quot;"_s << u"&quot;"_s;
    QTest::newRow("amp then amp stays") << u"&amp;amp;"_s << u"&amp;"_s;
    QTest::newRow("amp amp lt") << u"&amp;amp;lt;"_s << u"&amp;lt;"_s;
    QTest::newRow("quot then amp quot") << u"&quot;&amp;quot;"_s << u"\"&quot;"_s;
    QTest::newRow("amp amp") << u"&amp;&amp;"_s << u"&&"_s;
    QTest::newRow("bare amp before amp lt") << u"&&amp;lt;"_s << u"&<"_s;
    QTest::newRow("amp before real lt") << u"&amp;&lt;"_s << u"&<"_s;
    QTest::newRow("amp before hex") << u"&amp;&#xe9;"_s << u"&\u00e9"_s;
    QTest::newRow("amp inside half entity") << u"&#x&amp;e9;"_s << u"&#x&e9;"_s;
    QTest::newRow("amp splits amp") << u"&am&amp;p;"_s << u"&am&p;"_s;
    QTest::newRow("amp at end") << u"x&amp;"_s << u"x&"_s;
    QTest::newRow("amp then cut lt") << u"&amp;lt"_s << u"&lt"_s;

    // Hex rows.
    QTest::newRow("e9") << u"caf&#xe9;"_s << u"caf\u00e9"_s;
    QTest::newRow("E9 capital digits stay") << u"&#xE9;"_s << u"&#xE9;"_s;
    QTest::newRow("capital X stays") << u"&#Xe9;"_s << u"&#Xe9;"_s;
    QTest::newRow("mixed case digits stay") << u"&#xeA;"_s << u"&#xeA;"_s;
    QTest::newRow("c0 and e0 differ") << u"&#xc0;&#xe0;"_s << chars({0xC0, 0xE0});
    QTest::newRow("80 euro") << u"&#x80;"_s << chars({0x20AC});
    QTest::newRow("86 dagger") << u"&#x86;"_s << chars({0x2020});
    QTest::newRow("8a S caron") << u"&#x8a;"_s << chars({0x0160});
    QTest::newRow("92 quote") << u"&#x92;"_s << chars({0x2019});
    QTest::newRow("9f Y diaeresis") << u"&#x9f;"_s << chars({0x0178});
    QTest::newRow("unassigned bytes")
        << u"&#x81;&#x8d;&#x8f;&#x90;&#x9d;"_s << chars({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    QTest::newRow("a0") << u"&#xa0;"_s << chars({0xA0});
    QTest::newRow("ff") << u"&#xff;"_s << chars({0xFF});

    // What stays as written.
    QTest::newRow("below 0x80") << u"&#x7f;&#x3c;&#x26;"_s << u"&#x7f;&#x3c;&#x26;"_s;
    QTest::newRow("decimal") << u"&#60;&#233;&#38;"_s << u"&#60;&#233;&#38;"_s;
    QTest::newRow("one digit") << u"&#xe;"_s << u"&#xe;"_s;
    QTest::newRow("three digits") << u"&#xe99;"_s << u"&#xe99;"_s;
    QTest::newRow("no semicolon") << u"&#xe9 &lt &amp"_s << u"&#xe9 &lt &amp"_s;
    QTest::newRow("other named") << u"&nbsp;&copy;&eacute;"_s << u"&nbsp;&copy;&eacute;"_s;
    QTest::newRow("capital names") << u"&QUOT;&AMP;&LT;"_s << u"&QUOT;&AMP;&LT;"_s;
    QTest::newRow("lone ampersands") << u"& && &"_s << u"& && &"_s;
    QTest::newRow("cut at end") << u"&#x"_s << u"&#x"_s;
    QTest::newRow("non-hex digit") << u"&#xg9;&#x9g;"_s << u"&#xg9;&#x9g;"_s;
}

void TestPadText::decodeEntities()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(tarvelo::decodeEntities(input), expected);
    QCOMPARE(decodeInOwnBuffer(input), expected);
    QCOMPARE(reference::decodeEntities(input), expected);
}

void TestPadText::decodingInPlaceLeavesSharedTextAlone()
{
    const QString original = u"&amp;lt;&#xe9;"_s;
    QString shared = original;
    QCOMPARE(tarvelo::decodeEntitiesInPlace(std::move(shared)), u"<\u00e9"_s);
    QCOMPARE(original, u"&amp;lt;&#xe9;"_s);

    static const char16_t raw[] = u"&lt;";
    const QString borrowed = QString::fromRawData(reinterpret_cast<const QChar *>(raw), 4);
    QCOMPARE(tarvelo::decodeEntitiesInPlace(QString(borrowed)), u"<"_s);
    QCOMPARE(QStringView(raw), u"&lt;");
}

void TestPadText::decodeEntitiesEveryRow_data()
{
    QTest::addColumn<QString>("entity");
    QTest::addColumn<QString>("replacement");
    const auto &table = reference::entityTable();
    for (int row = 0; row < table.size(); ++row) {
        QTest::addRow("row %d %s", row, qPrintable(table.at(row).first))
            << table.at(row).first << table.at(row).second;
    }
}

void TestPadText::decodeEntitiesEveryRow()
{
    QFETCH(QString, entity);
    QFETCH(QString, replacement);
    QCOMPARE(tarvelo::decodeEntities(entity), replacement);
    QCOMPARE(tarvelo::decodeEntities(u"a"_s + entity + u"b"_s + entity),
             u"a"_s + replacement + u"b"_s + replacement);
    // Escaped once more: only the rows after "&amp;" come out decoded.
    const QString escaped = u"&amp;"_s + entity.sliced(1);
    QCOMPARE(tarvelo::decodeEntities(escaped), reference::decodeEntities(escaped));
    const bool decodedTwice = entity != u"&quot;"_s && entity != u"&amp;"_s;
    QCOMPARE(tarvelo::decodeEntities(escaped), decodedTwice ? replacement : entity);
}

void TestPadText::decodeEntitiesMatchesReferenceOnRandomText()
{
    QRandomGenerator rng(20240611);
    int withAmpersand = 0;
    int changed = 0;
    for (int i = 0; i < 100000; ++i) {
        const QString input = randomEntityText(rng, 16);
        const QString expected = reference::decodeEntities(input);
        const QString actual = i % 2 ? tarvelo::decodeEntities(input) : decodeInOwnBuffer(input);
        if (actual != expected) {
            QFAIL(qPrintable(u"input \"%1\": got \"%2\", model gives \"%3\""_s.arg(
                visible(input), visible(actual), visible(expected))));
        }
        withAmpersand += input.contains(u'&');
        changed += expected != input;
    }
    // The generator must exercise the decoder, not hand it plain text.
    QVERIFY2(withAmpersand > 80000, qPrintable(QString::number(withAmpersand)));
    QVERIFY2(changed > 50000, qPrintable(QString::number(changed)));
}

void TestPadText::decodeEntitiesLongTextMatchesReference()
{
    QRandomGenerator rng(7);
    for (int i = 0; i < 200; ++i) {
        const QString input = randomEntityText(rng, 3000);
        QCOMPARE(tarvelo::decodeEntities(input), reference::decodeEntities(input));
    }
}

void TestPadText::getString_data()
{
    QTest::addColumn<QString>("padText");
    QTest::addColumn<QString>("startStr");
    QTest::addColumn<QString>("expected");

    const QString name = u"<Program_Name>"_s;
    QTest::newRow("simple") << u"<Program_Name>Foo</Program_Name>"_s << name << u"Foo"_s;
    QTest::newRow("in a document")
        << u"<XML_DIZ_INFO>\n  <Program_Name>Foo</Program_Name>\n</XML_DIZ_INFO>"_s << name
        << u"Foo"_s;
    QTest::newRow("empty element") << u"<Program_Name></Program_Name>"_s << name << QString();
    QTest::newRow("first of repeated")
        << u"<Char_Desc_45>one</Char_Desc_45><Char_Desc_45>two</Char_Desc_45>"_s
        << u"<Char_Desc_45>"_s << u"one"_s;
    QTest::newRow("45 not inside 450")
        << u"<Char_Desc_450>long</Char_Desc_450>"_s << u"<Char_Desc_45>"_s << QString();
    QTest::newRow("450 not inside 45")
        << u"<Char_Desc_45>short</Char_Desc_45>"_s << u"<Char_Desc_450>"_s << QString();
    QTest::newRow("45 beside 450")
        << u"<Char_Desc_450>long</Char_Desc_450><Char_Desc_45>short</Char_Desc_45>"_s
        << u"<Char_Desc_45>"_s << u"short"_s;
    QTest::newRow("closing tag first")
        << u"x</Program_Name>y<Program_Name>Foo</Program_Name>"_s << name << QString();
    QTest::newRow("closing tag inside opening")
        << u"<Program_Name</Program_Name>>"_s << name << QString();
    QTest::newRow("attributes") << u"<Program_Name lang=\"en\">Foo</Program_Name>"_s << name
                                << QString();
    QTest::newRow("blank before >") << u"<Program_Name >Foo</Program_Name>"_s << name << QString();
    QTest::newRow("self-closing") << u"<Program_Name /><Program_Name/>"_s << name << QString();
    QTest::newRow("no closing tag") << u"<Program_Name>Foo"_s << name << QString();
    QTest::newRow("no opening tag") << u"Foo</Program_Name>"_s << name << QString();
    QTest::newRow("neither") << u"<Other>Foo</Other>"_s << name << QString();
    QTest::newRow("empty text") << QString() << name << QString();
    QTest::newRow("lower case text") << u"<program_name>Foo</program_name>"_s << name << QString();
    QTest::newRow("upper case text") << u"<PROGRAM_NAME>Foo</PROGRAM_NAME>"_s << name << QString();
    QTest::newRow("several lines")
        << u"<Char_Desc_450>line one\r\nline two\n\tthree\r\n</Char_Desc_450>"_s
        << u"<Char_Desc_450>"_s << u"line one\r\nline two\n\tthree\r\n"_s;
    QTest::newRow("blanks kept") << u"<Program_Name>  Foo \t</Program_Name>"_s << name
                                 << u"  Foo \t"_s;
    QTest::newRow("CDATA kept") << u"<Program_Name><![CDATA[A & B]]></Program_Name>"_s << name
                                << u"<![CDATA[A & B]]>"_s;
    QTest::newRow("markup inside kept")
        << u"<Program_Info><Program_Name>Foo</Program_Name></Program_Info>"_s << u"<Program_Info>"_s
        << u"<Program_Name>Foo</Program_Name>"_s;
    QTest::newRow("empty startStr") << u"<>x</>"_s << QString() << QString();
    QTest::newRow("one-character tag") << u"ab<cd</e"_s << u"<"_s << u"cd"_s;
    QTest::newRow("one-character tag overlapping") << u"</x"_s << u"<"_s << QString();
    QTest::newRow("non-tag startStr") << u"axbx/c"_s << u"x"_s << u"b"_s;
    QTest::newRow("surrogate pair inside")
        << u"<Program_Name>\U0001F600</Program_Name>"_s << name << u"\U0001F600"_s;
}

void TestPadText::getString()
{
    QFETCH(QString, padText);
    QFETCH(QString, startStr);
    QFETCH(QString, expected);
    QCOMPARE(tarvelo::getString(padText, startStr), expected);
}

void TestPadText::escapedTagIsFoundAfterDecoding()
{
    // An escaped tag name in an earlier element turns into a real tag, and the
    // first opening tag wins.
    const QString text =
        tarvelo::decodeEntities(u"<Char_Desc_45>see &lt;Program_Name&gt;</Char_Desc_45>"
                                u"<Program_Name>Foo</Program_Name>"_s);
    QCOMPARE(tarvelo::getString(text, u"<Program_Name>"_s), u"</Char_Desc_45><Program_Name>Foo"_s);
    QCOMPARE(tarvelo::getString(text, u"<Char_Desc_45>"_s), u"see <Program_Name>"_s);
}

void TestPadText::decodePadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ascii") << QByteArray("<a>Foo</a>\r\n") << u"<a>Foo</a>\r\n"_s;
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << chars({u'a', 0, u'b'});

    // UTF-8
    QTest::newRow("utf8 e acute") << QByteArray("M\xC3\xA9tamorphose") << u"M\u00e9tamorphose"_s;
    QTest::newRow("utf8 euro") << QByteArray("\xE2\x82\xAC") << chars({0x20AC});
    QTest::newRow("utf8 four bytes") << QByteArray("\xF0\x9F\x98\x80") << u"\U0001F600"_s;
    QTest::newRow("utf8 smallest of each length")
        << QByteArray("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80")
        << chars({0x80, 0x800, 0xD800, 0xDC00});
    QTest::newRow("utf8 largest") << QByteArray("\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF")
                                  << chars({0x7FF, 0xFFFF, 0xDBFF, 0xDFFF});
    QTest::newRow("utf8 around surrogates")
        << QByteArray("\xED\x9F\xBF\xEE\x80\x80") << chars({0xD7FF, 0xE000});
    QTest::newRow("utf8 bom dropped") << QByteArray("\xEF\xBB\xBF<a>\xC3\xA9") << u"<a>\u00e9"_s;
    QTest::newRow("utf8 bom only") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("utf8 two boms") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << chars({0xFEFF});

    // Not UTF-8: the whole file is Windows-1252.
    QTest::newRow("1252 e acute") << QByteArray("caf\xE9") << u"caf\u00e9"_s;
    QTest::newRow("1252 80-9F") << QByteArray("\x80\x86\x8A\x92\x9F")
                                << chars({0x20AC, 0x2020, 0x0160, 0x2019, 0x0178});
    QTest::newRow("1252 unassigned")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << chars({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    QTest::newRow("1252 A0-FF") << QByteArray("\xA0\xC0\xE0\xFF")
                                << chars({0xA0, 0xC0, 0xE0, 0xFF});
    QTest::newRow("valid utf8 then one bad byte")
        << QByteArray("\xC3\xA9\xFF") << chars({0xC3, 0xA9, 0xFF});
    QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF") << chars({0xC0, 0xAF});
    QTest::newRow("overlong C1") << QByteArray("\xC1\xBF") << chars({0xC1, 0xBF});
    QTest::newRow("overlong three bytes")
        << QByteArray("\xE0\x80\xAF") << chars({0xE0, 0x20AC, 0xAF});
    QTest::newRow("overlong four bytes")
        << QByteArray("\xF0\x8F\xBF\xBF") << chars({0xF0, 0x8F, 0xBF, 0xBF});
    QTest::newRow("surrogate encoded") << QByteArray("\xED\xA0\x80") << chars({0xED, 0xA0, 0x20AC});
    QTest::newRow("above 10FFFF") << QByteArray("\xF4\x90\x80\x80")
                                  << chars({0xF4, 0x90, 0x20AC, 0x20AC});
    QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80")
                             << chars({0xF5, 0x20AC, 0x20AC, 0x20AC});
    QTest::newRow("lone continuation") << QByteArray("a\x80") << chars({u'a', 0x20AC});
    QTest::newRow("cut two-byte at end") << QByteArray("a\xC3") << chars({u'a', 0xC3});
    QTest::newRow("cut three-byte at end") << QByteArray("\xE2\x82") << chars({0xE2, 0x201A});
    QTest::newRow("cut four-byte inside")
        << QByteArray("\xF0\x9F\x98z") << chars({0xF0, 0x178, 0x2DC, u'z'});
    QTest::newRow("utf8 bom then 1252") << QByteArray("\xEF\xBB\xBF\xE9") << chars({0xE9});
    QTest::newRow("lone FF") << QByteArray("\xFF") << chars({0xFF});
    QTest::newRow("lone FE") << QByteArray("\xFE") << chars({0xFE});

    // UTF-16 after its byte-order mark.
    QTest::newRow("utf16le") << QByteArray("\xFF\xFE"
                                           "A\0\xE9\0",
                                           6)
                             << u"A\u00e9"_s;
    QTest::newRow("utf16be") << QByteArray("\xFE\xFF\0A\0\xE9", 6) << u"A\u00e9"_s;
    QTest::newRow("utf16le bom only") << QByteArray("\xFF\xFE") << QString();
    QTest::newRow("utf16le pair") << QByteArray("\xFF\xFE\x3D\xD8\x00\xDE", 6) << u"\U0001F600"_s;
    QTest::newRow("utf16be pair") << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6) << u"\U0001F600"_s;
    QTest::newRow("utf16le odd length") << QByteArray("\xFF\xFE"
                                                      "A\0B",
                                                      5)
                                        << chars({u'A', 0xFFFD});
    QTest::newRow("utf16be odd length") << QByteArray("\xFE\xFF\0A\0", 5) << chars({u'A', 0xFFFD});
    QTest::newRow("utf16le one byte") << QByteArray("\xFF\xFE"
                                                    "A")
                                      << chars({0xFFFD});
    QTest::newRow("utf16le high surrogate at end") << QByteArray("\xFF\xFE"
                                                                 "A\0\x3D\xD8",
                                                                 6)
                                                   << chars({u'A', 0xFFFD});
    QTest::newRow("utf16le high then letter") << QByteArray("\xFF\xFE\x3D\xD8"
                                                            "A\0",
                                                            6)
                                              << chars({0xFFFD, u'A'});
    QTest::newRow("utf16le lone low") << QByteArray("\xFF\xFE\x00\xDE"
                                                    "A\0",
                                                    6)
                                      << chars({0xFFFD, u'A'});
    QTest::newRow("utf16le two highs then low")
        << QByteArray("\xFF\xFE\x3D\xD8\x3D\xD8\x00\xDE", 8) << chars({0xFFFD, 0xD83D, 0xDE00});
    QTest::newRow("utf16 without bom is not guessed")
        << QByteArray("A\0B\0", 4) << chars({u'A', 0, u'B', 0});
}

void TestPadText::decodePadBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString actual = tarvelo::decodePadBytes(bytes);
    QVERIFY2(actual == expected, qPrintable(visible(actual) + u" != "_s + visible(expected)));
}

void TestPadText::utf8DecisionMatchesQtStrictDecoder()
{
    // Qt's own UTF-8 decoder flags the same sequences as malformed, so it
    // serves as a second opinion on which files are read as UTF-8.
    QRandomGenerator rng(99);
    int valid = 0;
    int invalid = 0;
    for (int i = 0; i < 50000; ++i) {
        const QByteArray bytes = randomUtf8ishBytes(rng);
        QStringDecoder qtDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString qtText = qtDecoder.decode(bytes);
        const QString expected = qtDecoder.hasError() ? fromWindows1252Reference(bytes) : qtText;
        if (qtDecoder.hasError())
            ++invalid;
        else
            ++valid;
        const QString actual = tarvelo::decodePadBytes(bytes);
        if (actual != expected) {
            QFAIL(qPrintable(u"bytes %1: got %2, expected %3"_s.arg(
                QString::fromLatin1(bytes.toHex(' ')), visible(actual), visible(expected))));
        }
    }
    QVERIFY2(valid > 5000 && invalid > 5000,
             qPrintable(u"%1 valid, %2 invalid"_s.arg(valid).arg(invalid)));
}

void TestPadText::noReadingPastTheEnd()
{
    // Texts that end in the middle of a sequence, in buffers whose next bytes
    // would complete it: a look past the end shows as a wrong result.
    static const char bytes[] = "a\xC3\xA9\xE2\x82\xAC";
    QCOMPARE(tarvelo::decodePadBytes(QByteArray::fromRawData(bytes, 2)), chars({u'a', 0xC3}));
    QCOMPARE(tarvelo::decodePadBytes(QByteArray::fromRawData(bytes + 3, 2)), chars({0xE2, 0x201A}));
    static const char utf16[] = "\xFF\xFE"
                                "A\0B\0";
    QCOMPARE(tarvelo::decodePadBytes(QByteArray::fromRawData(utf16, 5)), chars({u'A', 0xFFFD}));
    static const char pair[] = "\xFF\xFE\x3D\xD8\x00\xDE";
    QCOMPARE(tarvelo::decodePadBytes(QByteArray::fromRawData(pair, 4)), chars({0xFFFD}));

    static const char16_t entities[] = u"&lt;&amp;gt;&quot;&#xe9;&apos;";
    const auto cut = [](qsizetype start, qsizetype size) {
        return QString::fromRawData(reinterpret_cast<const QChar *>(entities + start), size);
    };
    QCOMPARE(tarvelo::decodeEntities(cut(0, 3)), u"&lt"_s);
    QCOMPARE(tarvelo::decodeEntities(cut(4, 7)), u"&gt"_s);
    QCOMPARE(tarvelo::decodeEntities(cut(4, 5)), u"&"_s);
    QCOMPARE(tarvelo::decodeEntities(cut(12, 5)), u"&quot"_s);
    QCOMPARE(tarvelo::decodeEntities(cut(18, 5)), u"&#xe9"_s);
    QCOMPARE(tarvelo::decodeEntities(cut(24, 5)), u"&apos"_s);
    QCOMPARE(tarvelo::getString(cut(0, 3), u"&lt;"_s), QString());
}

QTEST_GUILESS_MAIN(TestPadText)
#include "tst_padtext.moc"
