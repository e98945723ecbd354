#include "core/profiles/PadFileSize.h"
#include "core/profiles/PadReader.h"
#include "core/profiles/TidyValue.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

// A row of text columns written as UTF-8.
template <typename... Texts> static void row(const char *name, Texts... texts)
{
    (QTest::newRow(name) << ... << QString::fromUtf8(texts));
}

class TestPadValues : public QObject
{
    Q_OBJECT

private slots:
    // Each raw text under the single-line rule and under the line-by-line rule.
    void tidy_data()
    {
        for (const char *column : {"raw", "single", "lines"})
            QTest::addColumn<QString>(column);
        row("around", " \t Foo  Bar \r\n", "Foo Bar", "Foo  Bar");
        row("LF CR CRLF", "a\nb\rc\r\nd", "a b c d", "a\r\nb\r\nc\r\nd");
        row("2 breaks", "a\r\rb\n\rc", "a b c", "a\r\n\r\nb\r\n\r\nc");
        row("line ends", " a \t\n\tc ", "a c", "a\r\nc");
        row("blank lines", "\r\n \r\n\ta\r\n\r\n \r\nb\r\n\t\r\n", "a b", "a\r\n\r\n\r\nb");
        row("unicode blanks", "\u00A0a\u2003\u00A0b\u3000\u2028c\n", "a b c",
            "a\u2003\u00A0b\u3000\u2028c");
        row("keyword runs", "video,     audio,\r\n\tplayer", "video, audio, player",
            "video,     audio,\r\nplayer");
        row("blank only", " \t\r\n\u00A0\r", "", "");
    }
    void tidy()
    {
        QFETCH(QString, raw);
        QFETCH(QString, single);
        QFETCH(QString, lines);
        // Keywords are a list of words on one line, though their box has several.
        for (const Field field : {Field::ProgName, Field::Keywords, Field::OS})
            QCOMPARE(tidyValue(field, raw), single);
        for (const Field field : {Field::LongDesc, Field::SysReq})
            QCOMPARE(tidyValue(field, raw), lines);
        QCOMPARE(tidySingleLine(single), single); // a tidy value stays as it is
        QCOMPARE(tidyMultiLine(lines), lines);
    }

    // The table and its hand-made files are in padvalues/, the real files in pad/;
    // "program" is the program's name|version, for every real file.
    void values_data()
    {
        for (const char *column : {"source", "language", "value", "expected"})
            QTest::addColumn<QString>(column);
        QFile table(QStringLiteral(TARVELO_TEST_DATA "/padvalues/values.tsv"));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        for (QByteArray line; !(line = table.readLine()).isEmpty();) {
            const auto cells =
                line.replace("\\r", "\r").replace("\\n", "\n").chopped(1).split('\t');
            if (!line.startsWith('#'))
                row(cells.mid(0, 3).join(' ').constData(), cells[0], cells[1], cells[2], cells[3]);
        }
    }
    void values()
    {
        QFETCH(QString, source);
        QFETCH(QString, language);
        QFETCH(QString, value);
        const auto pad = PadReader::read(QStringLiteral(TARVELO_TEST_DATA "/") + source);
        QVERIFY(pad);
        // The first three are fields, the rest the extra values in their order.
        const QStringList keys = {u"45"_s,  u"450"_s,  u"keywords"_s, u"80"_s,
                                  u"250"_s, u"2000"_s, u"author"_s,   u"bytes"_s,
                                  u"KB"_s,  u"MB"_s,   u"category"_s};
        const qsizetype key = keys.indexOf(value);
        QVERIFY(key >= 0 || value == u"languages" || value == u"program");
        const auto fields = std::array{Field::ShortDesc, Field::LongDesc, Field::Keywords};
        const Field field = fields[std::clamp<qsizetype>(key, 0, 2)];
        const QStringList names = pad->languages();
        if (value == u"languages")
            QTEST(u"%1 %2: %3"_s.arg(names.size())
                      .arg(names.mid(0, 3).join(u','), pad->value(Field::ShortDesc)),
                  "expected");
        else if (value == u"program") // name|version
            QTEST(pad->value(Field::ProgName) + u'|' + pad->value(Field::ProgVer), "expected");
        else if (key >= 0 && key < 3)
            QTEST(language.isEmpty() ? pad->value(field) : pad->value(field, language), "expected");
        else
            QTEST(pad->extraValue(ExtraValue(key - 3), language), "expected");
    }

    // The three texts of the file, then bytes|KB|MB as given or worked out.
    void fileSize_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("sizes");
        row("all given", "266,752| 260 |0", "266,752|260|0");
        row("only bytes", "1535808||", "1535808|1500|1.46");
        row("only K", "| 2000 |", "2048000|2000|1.95");
        row("decimal K", "|1.5|", "1536|1.5|0.01");
        row("only MB", "||1.91", "||1.91");
        row("tiny", "100||", "100|1|0.01");
        row("zero", "0||", "0|0|0.00");
        row("garbage, K used", "about 2 MB|512|", "about 2 MB|512|0.50");
        row("15 digits", "999999999999999||", "999999999999999|976562500000|953674316.41");
        for (const char *bad :
             {"about 2 MB", "1.5.3", "-5", "1e5", "1,024", ".5", "1234567890123456"})
            row(bad, qPrintable(QLatin1String(bad) + u"||"_s),
                qPrintable(QLatin1String(bad) + u"||"_s));
    }
    void fileSize()
    {
        QFETCH(QString, given);
        const QStringList texts = given.split(u'|');
        const PadFileSize size = PadFileSize::fromTexts(texts[0], texts[1], texts[2]);
        QTEST(QStringList({size.bytes, size.kilobytes, size.megabytes}).join(u'|'), "sizes");
    }
};

QTEST_APPLESS_MAIN(TestPadValues)
#include "tst_padvalues.moc"
