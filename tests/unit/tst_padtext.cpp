#include "ReferenceEntityDecoder.h"
#include "core/profiles/PadText.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QString chars(std::initializer_list<char16_t> units)
{
    return QString(reinterpret_cast<const QChar *>(units.begin()), qsizetype(units.size()));
}

// Entity texts are frequent among the pieces, and so are near-misses
// (capital hex, missing semicolons, doubled ampersands).
const QStringList pieces =
    u"&|&|a|m|p|;|#|x|X|l|t|q|0|9|e|F| |\u00e9|amp;|&amp;|&amp;|&quot;|quot;|&lt;|lt;|&gt;|"
    "&apos;|&#x|#x|&#x8|&#xe9;|&#xE9;|e9;|&#x81;|&#x7f;|&#xff;|ff;|&#60;"_s.split(u'|');

} // namespace

class TestPadText : public QObject
{
    Q_OBJECT
private slots:
    void decodeEntitiesMatchesModel();
    void noReadingPastTheEnd();
    void bytesToText_data();
    void bytesToText();
};

void TestPadText::bytesToText_data()
{
    // Strict UTF-8 when the bytes are that, else Windows-1252 one byte a character.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8, its mark dropped") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << u"\u00e9"_s;
    QTest::newRow("4-byte UTF-8") << QByteArray("\xF0\x9F\x98\x80") << u"\U0001F600"_s;
    QTest::newRow("overlong 3 bytes") << QByteArray("\xE0\x80\xAF") << u"\u00e0\u20ac\u00af"_s;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u"\u00ed\u00a0\u20ac"_s;
    QTest::newRow("above U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << u"\u00f4\u0090\u20ac\u20ac"_s;
    QTest::newRow("cut off") << QByteArray("a\xC3") << u"a\u00c3"_s;
    QTest::newRow("1252, unassigned kept") << QByteArray("\x80\x81\x9F") << u"\u20ac\u0081\u0178"_s;
    QTest::newRow("UTF-16LE, odd end") << QByteArray("\xFF\xFEh\0i\0!", 7) << u"hi\uFFFD"_s;
    QTest::newRow("UTF-16BE, half pair") << QByteArray("\xFE\xFF\xD8\x00\0a", 6) << u"\uFFFDa"_s;
}

void TestPadText::bytesToText()
{
    QFETCH(QByteArray, bytes);
    QTEST(tarvelo::decodePadBytes(bytes), "text");
}

void TestPadText::decodeEntitiesMatchesModel()
{
    // The model itself, where the order of its rows shows through.
    QCOMPARE(reference::decodeEntities(u"&amp;lt;&amp;amp;lt;&&amp;quot;&#x92;&#xE9;&#233;"_s),
             u"<&amp;lt;&&quot;\u2019&#xE9;&#233;"_s);
    // Every row alone, twice in a text and escaped once more; then random texts.
    QStringList texts;
    for (const auto &[entity, replacement] : reference::entityTable())
        texts << entity << u"a"_s + entity + u"b"_s + entity << u"&amp;"_s + entity.sliced(1);
    QRandomGenerator rng(20240611);
    for (int i = 0; i < 100200; ++i) {
        texts << QString();
        for (int n = rng.bounded(i < 100000 ? 17 : 3001); n > 0; --n)
            texts.last() += pieces.at(rng.bounded(int(pieces.size())));
    }
    int changed = 0;
    for (int i = 0; i < texts.size(); ++i) {
        const QString expected = reference::decodeEntities(texts[i]);
        // Every other one in a buffer of its own, which the decoder may reuse.
        const QString actual =
            i % 2 ? decodeEntities(texts[i])
                  : decodeEntitiesInPlace(QString(texts[i].data(), texts[i].size()));
        if (actual != expected)
            QFAIL(qPrintable(u"input %1: got %2, model %3"_s.arg(texts[i], actual, expected)));
        changed += expected != texts[i];
    }
    QVERIFY2(changed > 50000, qPrintable(QString::number(changed))); // not plain text
}

void TestPadText::noReadingPastTheEnd()
{
    // Texts that end in the middle of a sequence, in buffers whose next bytes
    // would complete it: a look past the end shows as a wrong result.
    static const char bytes[] = "a\xC3\xA9\xE2\x82\xAC\xFF\xFE\x3D\xD8\x00\xDE\xFF\xFE"
                                "A\0B";
    const auto cut = [](int from, int size) { return QByteArray::fromRawData(bytes + from, size); };
    QCOMPARE(decodePadBytes(cut(0, 2)), chars({u'a', 0xC3}));
    QCOMPARE(decodePadBytes(cut(3, 2)), chars({0xE2, 0x201A}));
    QCOMPARE(decodePadBytes(cut(6, 4)), chars({0xFFFD}));
    QCOMPARE(decodePadBytes(cut(12, 5)), chars({u'A', 0xFFFD}));
    static const char16_t entities[] = u"&lt;&amp;gt;&quot;&#xe9;&apos;";
    const auto text = [](int from, int size) {
        return QString::fromRawData(reinterpret_cast<const QChar *>(entities + from), size);
    };
    const QList<std::tuple<int, int, QString>> cases{{0, 3, u"&lt"_s},    {4, 7, u"&gt"_s},
                                                     {4, 5, u"&"_s},      {12, 5, u"&quot"_s},
                                                     {18, 5, u"&#xe9"_s}, {24, 5, u"&apos"_s}};
    for (const auto &[from, size, expected] : cases)
        QCOMPARE(decodeEntities(text(from, size)), expected);
    QCOMPARE(getString(text(0, 3), u"&lt;"_s), QString());
}

QTEST_GUILESS_MAIN(TestPadText)
#include "tst_padtext.moc"
