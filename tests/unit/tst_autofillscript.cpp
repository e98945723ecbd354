#include "browser/AutoFillScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;
using tarvelo::AutoFillScript;

namespace {

// The literal part of a built script: what follows the fixed code, less ");".
QString literalOf(const QString &script)
{
    return script.mid(AutoFillScript::code().size()).chopped(2);
}

// What a JSON (and so JavaScript) parser makes of a literal.
QJsonValue parsedLiteral(const QString &literal)
{
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(u"["_s.append(literal).append(u']').toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray() ||
        document.array().size() != 1)
        return QJsonValue(QJsonValue::Undefined);
    return document.array().first();
}

} // namespace

class TestAutoFillScript : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handOver_data();
    void handOver();
};

void TestAutoFillScript::handOver_data()
{
    QTest::addColumn<QString>("padUrl");

    QTest::newRow("plain") << u"https://example.org/app/pad.xml"_s;
    QTest::newRow("empty") << QString();
    QTest::newRow("double quote") << u"a\"b"_s;
    QTest::newRow("single quote") << u"a'b"_s;
    QTest::newRow("ends in backslash") << u"C:\\pad\\"_s;
    QTest::newRow("escaped quote") << u"\\\"); window.hacked = 1; (\""_s;
    QTest::newRow("breaks out of call") << u"\"); window.hacked = 1; //"_s;
    QTest::newRow("newline") << u"one\ntwo\r\nthree"_s;
    QTest::newRow("script end tag") << u"</script><script>window.hacked = 1</script>"_s;
    QTest::newRow("html comment") << u"<!-- x -->"_s;
    QTest::newRow("U+2028 and U+2029") << u"a\u2028b\u2029c"_s;
    QTest::newRow("control characters") << QStringView(u"\u0000\u0001\u001f\u007f", 4).toString();
    QTest::newRow("unicode") << u"http://例え.jp/päd.xml?q=ü&x=1"_s;
    QTest::newRow("surrogate pair") << u"😀"_s;
    QTest::newRow("template literal") << u"${window.hacked = 1}`"_s;
    QTest::newRow("100 KB") << QString(100 * 1024, u'"');
}

void TestAutoFillScript::handOver()
{
    QFETCH(QString, padUrl);
    const QString script = AutoFillScript::build(padUrl);

    QVERIFY(script.startsWith(AutoFillScript::code()));
    QVERIFY(script.endsWith(u");"_s));
    const QString literal = literalOf(script);
    QCOMPARE(parsedLiteral(literal), QJsonValue(padUrl));

    // Characters that end a line or a script element never appear raw.
    for (const QChar c : {QChar(u'\n'), QChar(u'\r'), QChar(0x2028), QChar(0x2029), QChar(u'<')})
        QVERIFY2(!literal.contains(c), qPrintable(QString::number(c.unicode(), 16)));
}

QTEST_GUILESS_MAIN(TestAutoFillScript)
#include "tst_autofillscript.moc"
