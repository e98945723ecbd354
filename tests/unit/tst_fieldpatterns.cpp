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
    // The pairs that differ by one word.
    row(u"Program name"_s, u"name"_s);
    row(u"Company name"_s, u"company"_s);
    row(u"Author name"_s, u"fullName"_s);
    row(u"Author's e-mail"_s, u"email"_s);
    row(u"Download URL"_s, u"download"_s);
    row(u"Download URL 2"_s, u"download2"_s);
    row(u"Reciprocal URL"_s, QString());
    row(u"Your site URL"_s, u"homepage"_s);
    row(u"Screenshot URL"_s, u"screenshot"_s);
    row(u"PAD URL"_s, u"pad"_s);
    row(u"Version"_s, u"version"_s);
    row(u"PAD version"_s, QString());
    row(u"Release date"_s, u"releaseDate"_s);
    row(u"Date of birth"_s, QString());
    row(u"System requirements"_s, u"sysReq"_s);
    row(u"Operating system"_s, u"os"_s);
    row(u"Short description"_s, u"shortDesc"_s);
    row(u"Long description"_s, u"longDesc"_s);
    row(u"Meta description"_s, QString());
    row(u"File size"_s, u"size"_s);
    row(u"Font size"_s, QString());
    row(u"Licence type"_s, u"license"_s);
    row(u"I accept the license"_s, QString());
    row(u"Price"_s, u"price"_s);
    row(u"Currency"_s, QString());
    // Whole words only: the word inside another is not the word.
    row(u"Padding"_s, QString());
    row(u"Osmosis"_s, QString());
    row(u"Pricelist"_s, QString());
    // The languages.
    row(u"Programmname"_s, u"name"_s);
    row(u"Firmenname"_s, u"company"_s);
    row(u"Nachname"_s, u"lastName"_s);
    row(u"Nom du logiciel"_s, u"name"_s);
    row(u"Nom"_s, u"lastName"_s);
    row(u"Prénom"_s, u"firstName"_s);
    row(u"Nombre del programa"_s, u"name"_s);
    row(u"Correo electrónico"_s, u"email"_s);
    row(u"Nome del programma"_s, u"name"_s);
    row(u"Cognome"_s, u"lastName"_s);
    row(u"Название программы"_s, u"name"_s);
    row(u"НАЗВАНИЕ КОМПАНИИ"_s, u"company"_s);
    row(u"Имя"_s, u"firstName"_s);
    row(u"Ссылка для скачивания"_s, u"download"_s);
    // Box names as the script reads them: words split at case and marks.
    row(u"prog name"_s, u"name"_s);
    row(u"dl url"_s, u"download"_s);
    row(u"s shot url"_s, u"screenshot"_s);
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
    QTest::newRow("characters") << u"Description, 2000 characters"_s << 2000;
    QTest::newRow("Zeichen") << u"Kurzbeschreibung (höchstens 80 Zeichen)"_s << 80;
    QTest::newRow("символов") << u"Описание (до 450 символов)"_s << 450;
    QTest::newRow("no limit") << u"Description of version 2"_s << 0;
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
    QTest::newRow("captcha") << u"captcha code"_s << true;
    QTest::newRow("security code") << u"Enter the security code"_s << true;
    QTest::newRow("verification") << u"Verification"_s << true;
    QTest::newRow("German") << u"Sicherheitscode"_s << true;
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
