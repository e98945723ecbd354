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
};

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
