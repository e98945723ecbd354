// The recognition tables on their own: the field a label names, the words
// that rule a field out, stated limits and captcha boxes.
#include "core/browser/FieldPatterns.h"
#include "core/browser/FormFill.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestFieldPatterns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void classify_data();
    void classify();
    void statedLimit_data();
    void statedLimit();
    void captcha_data();
    void captcha();
    void namesTheScriptKnows();
};

void TestFieldPatterns::classify_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field"); // empty: no field
    const auto row = [](const QString &label, const QString &field) {
        QTest::newRow(qPrintable(label)) << label << field;
    };
    // Pairs that differ by one word; whole words only; the languages; box
    // names as the script reads them (split at case and marks).
    row(u"Program name"_s, u"name"_s);
    row(u"Company name"_s, u"company"_s);
    row(u"Download URL"_s, u"download"_s);
    row(u"Download URL 2"_s, u"download2"_s);
    row(u"Reciprocal URL"_s, QString());
    row(u"PAD version"_s, QString());
    row(u"Date of birth"_s, QString());
    row(u"Meta description"_s, QString());
    row(u"File size"_s, u"size"_s);
    row(u"Font size"_s, QString());
    row(u"I accept the license"_s, QString());
    row(u"Price"_s, u"price"_s);
    row(u"Currency"_s, QString());
    row(u"Padding"_s, QString());
    row(u"Pricelist"_s, QString());
    row(u"Nachname"_s, u"lastName"_s);
    row(u"Nom"_s, u"lastName"_s);
    row(u"Prénom"_s, u"firstName"_s);
    row(u"Correo electrónico"_s, u"email"_s);
    row(u"НАЗВАНИЕ КОМПАНИИ"_s, u"company"_s);
    row(u"prog name"_s, u"name"_s);
    row(u"dl url"_s, u"download"_s);
}

void TestFieldPatterns::classify()
{
    QFETCH(QString, label);
    QFETCH(QString, field);
    QCOMPARE(FieldPatterns::classify(label), field);
}

void TestFieldPatterns::statedLimit_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("limit");
    QTest::newRow("max.") << u"Description (max. 250)"_s << 250;
    QTest::newRow("Zeichen") << u"Kurzbeschreibung (höchstens 80 Zeichen)"_s << 80;
    QTest::newRow("символов") << u"Описание (до 450 символов)"_s << 450;
    QTest::newRow("one digit is no limit") << u"max 5"_s << 0;
}

void TestFieldPatterns::statedLimit()
{
    QFETCH(QString, label);
    QFETCH(int, limit);
    QCOMPARE(FieldPatterns::statedLimit(label), limit);
}

void TestFieldPatterns::captcha_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("captcha");
    QTest::newRow("security code") << u"Enter the security code"_s << true;
    QTest::newRow("Russian") << u"Защитный код"_s << true;
    QTest::newRow("program name") << u"Program name"_s << false;
    QTest::newRow("zip code") << u"Zip code"_s << false;
}

void TestFieldPatterns::captcha()
{
    QFETCH(QString, text);
    QFETCH(bool, captcha);
    QCOMPARE(FieldPatterns::isCaptcha(text), captcha);
}

// Every field a rule names is a value the fill has, or one the script turns
// into a value (the descriptions by length, the size by unit).
void TestFieldPatterns::namesTheScriptKnows()
{
    const QJsonObject values =
        FormFill::values([](Field) { return QString(); }, [](ExtraValue) { return QString(); });
    const QStringList resolved{u"shortDesc"_s, u"longDesc"_s, u"description"_s, u"size"_s};
    for (const FieldPatterns::Rule &rule : FieldPatterns::rules())
        QVERIFY2(values.contains(rule.field) || resolved.contains(rule.field),
                 qPrintable(rule.field));
    for (const QJsonValue &name : FieldPatterns::json()[u"autocomplete"_s].toObject())
        QVERIFY2(values.contains(name.toString()), qPrintable(name.toString()));
}

QTEST_GUILESS_MAIN(TestFieldPatterns)
#include "tst_fieldpatterns.moc"
