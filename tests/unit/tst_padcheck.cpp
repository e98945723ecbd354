#include "core/profiles/PadCheck.h"
#include "core/profiles/PadCheckCommand.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tarvelo;

static const QString padDir = QStringLiteral(TARVELO_TEST_DATA "/pad/");
static const QString badDir = QStringLiteral(TARVELO_TEST_DATA "/padcheck/");

class TestPadCheck : public QObject
{
    Q_OBJECT
    QTemporaryDir m_temp;
    QString at(const QString &files) const
    {
        return QString(files).replace(u"{bad}"_s, badDir).replace(u"{tmp}"_s, m_temp.path());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile(m_temp.filePath(u"empty.xml"_s)).open(QIODevice::WriteOnly));
        QVERIFY(::mkfifo(QFile::encodeName(m_temp.filePath(u"fifo"_s)).constData(), 0600) == 0);
    }

    void builtInRules()
    {
        for (const PadRules *rules : {&PadRules::pad302(), &PadRules::pad40()})
            QVERIFY(rules->loadError.isEmpty() && rules->brokenFields.isEmpty());
        // The declared version picks the rules: 4.x those of 4.0, anything else those of 3.02.
        const QStringList declared = {u"4.0"_s, u"4.1"_s, u"4"_s,    u" 4.00 "_s, u"3.11"_s,
                                      u""_s,    u"40"_s,  u"14.0"_s, u"1.1"_s};
        for (qsizetype k = 0; k < declared.size(); ++k)
            QCOMPARE(PadRules::forDeclaredVersion(declared[k]).version,
                     k < 4 ? u"4.0"_s : u"3.02"_s);
    }

    void brokenRuleNeverReports()
    {
        const PadRules rules = PadRules::fromXml(
            "<PAD_Spec><PAD_Spec_Version>9.9</PAD_Spec_Version><Fields>"
            "<Field><Path>XML_DIZ_INFO/A</Path><RegEx>^(\\Z</RegEx></Field>"
            "<Field><Path>XML_DIZ_INFO/B</Path><RegEx>^.*\\Z</RegEx></Field>"
            "<Field><Path>XML_DIZ_INFO/C</Path><RegEx>^.+\\Z</RegEx></Field>"
            "<Field><Path>XML_DIZ_INFO/D</Path><RegEx/></Field></Fields></PAD_Spec>");
        QCOMPARE(rules.brokenFields, QStringList{u"XML_DIZ_INFO/A"_s});
        const auto result = PadCheck::checkBytes("<XML_DIZ_INFO/>", rules);
        QCOMPARE(result.problems.size(), 1);
        QCOMPARE(result.problems.first().path, u"XML_DIZ_INFO/C"_s);
        // Rules that cannot be read never let a file pass.
        QVERIFY(!PadCheck::checkBytes("<XML_DIZ_INFO/>", PadRules::fromXml("<PAD_Spec>")).isPad());
    }

    void realFiles_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<int>("problems"); // -1: not a PAD file
        // Problems per file under the rules of its declared version (3.02 unless /4.0).
        const QString table = uR"(antiprism 1 anystatus 2/4.0 automute 10 binjs-early 13 brlcad -1
            carddavcleaner-nocd45 11 cmdlinehere 11 digicamcontrol 22 diwacs 20 djon 8
            drawamountain 3/4.0 dumphex-cp1252-raw 6 dumphex-cp1252 6 dvdstyler 1 emphasize 11
            etk-imagecompressor 28/4.0 finalcrypt 5/4.0 getxbook 9 gislook 6 goalaid -1
            gpgtools-installer -1 jogoverein 1/4.0 jucevlc 4 librecrypt 22 memoryrestart 8
            metamorphose 3 mysqlfront-template 34 parara 8 qvge 10 rezervi-generic 0 salat 5
            screencapture 11 sidjukebox 13/4.0 smplayer-40lang 2/4.0 smplayer-noversion 4
            startrek 17 tntzbzc-zh 5 unlockmdm-upper 34/4.0 ups 13 wiki2xhtml 13 winblit 1)"_s;
        const QStringList words = table.simplified().split(u' ');
        // Every file in the folder is in the table.
        QCOMPARE(QDir(padDir).entryList({u"*.xml"_s}).size(), words.size() / 2);
        for (qsizetype k = 0; k + 1 < words.size(); k += 2) {
            const QString &count = words[k + 1];
            QTest::newRow(qPrintable(words[k])) << (count.contains(u'/') ? u"4.0"_s : u"3.02"_s)
                                                << count.section(u'/', 0, 0).toInt();
        }
    }
    void realFiles()
    {
        QFETCH(int, problems);
        const auto result =
            PadCheck::checkFile(padDir + QLatin1String(QTest::currentDataTag()) + u".xml"_s);
        QCOMPARE(result.isPad(), problems >= 0);
        if (result.isPad())
            QTEST(result.rulesVersion, "rules");
        QCOMPARE(result.problems.size(), qMax(problems, 0));
    }

    void fields_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("element");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QString>("value");
        auto row = [](const char *file, const char *element, bool fails, const QString &value) {
            QTest::addRow("%s %s", file, element)
                << QString::fromLatin1(file) << QString::fromLatin1(element) << fails << value;
        };
        row("sparse-302", "Company_Name", true, {}); // required, missing
        row("sparse-302", "Address_1", false, {});   // optional, missing
        row("sparse-302", "Application_XML_File_URL", true, u"https://example.com/pad.xml"_s);
        row("sparse-302", "Company_WebSite_URL", true, u"https://example.com/"_s);
        row("version-41", "Application_XML_File_URL", false, {}); // 4.0 rules allow https
        for (const char *issued : {"PublisherID", "AppID", "CERTIFIED", "ASP_Member"})
            row("version-41", issued, false, {});
        row("month", "Program_Release_Month", true, u"5"_s);
        row("values", "Company_Name", true, u"Smith <&> Sons"_s); // CDATA
        row("values", "City_Town", true, u"\n      Springfield\n    "_s);
        row("values", "Program_Name", true, u"A<B"_s); // the first of two
        row("values", "Program_Version", true, u"1.0 & \u263A"_s);
        row("values", "MASTER_PAD_VERSION", false, {}); // \Z allows one final break
        row("values", "Program_Release_Month", false, {});
        row("values", "Program_Release_Day", true, u"05\n\n"_s);
    }
    void fields()
    {
        QFETCH(QString, file);
        QFETCH(QString, element);
        QFETCH(bool, fails);
        const auto result = PadCheck::checkFile(badDir + file + u".xml"_s);
        QVERIFY2(result.isPad(), qPrintable(result.error));
        const auto problem =
            std::find_if(result.problems.begin(), result.problems.end(),
                         [&](const auto &p) { return p.path.endsWith(u'/' + element); });
        QCOMPARE(problem != result.problems.end(), fails);
        if (fails)
            QTEST(problem->value, "value");
    }

    void shownValue()
    {
        const QString sixty(60, u'x');
        QCOMPARE(PadCheckCommand::shownValue(sixty), sixty);
        QCOMPARE(PadCheckCommand::shownValue(sixty + u'y'), sixty + u'\u2026');
        const QString cut = sixty.first(59); // never half a surrogate pair
        QCOMPARE(PadCheckCommand::shownValue(cut + u"\U0001F600"_s), cut + u'\u2026');
        QCOMPARE(PadCheckCommand::shownValue(u"a\r\n\tb\\n"_s), u"a\\r\\n\\tb\\\\n"_s);
    }

    void command_data()
    {
        QTest::addColumn<QString>("files");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString monthLine =
            u"{bad}month.xml: XML_DIZ_INFO/Program_Info/Program_Release_Month: "
            "2 digits 01-12 (value \"5\")\n"_s;
        QTest::newRow("pass") << u"{bad}good-302.xml"_s << 0 << QString() << QString();
        QTest::newRow("field fails")
            << u"{bad}good-302.xml|{bad}month.xml"_s << 1 << monthLine << QString();
        QTest::newRow("mixed") << u"{bad}month.xml|{bad}wrong-root.xml|{bad}not-xml.xml"_s << 2
                               << monthLine
                               << u"{bad}wrong-root.xml: line 2: the root element is <PAD>, not "
                                  "<XML_DIZ_INFO>\n{bad}not-xml.xml: line 3: Expected '#' or "
                                  "'[a-zA-Z]', but got ' '.\n"_s;
        QTest::newRow("unusable")
            << u"{tmp}/none.xml|{tmp}|{tmp}/fifo|{tmp}/empty.xml"_s << 2 << QString()
            << u"{tmp}/none.xml: no such file\n{tmp}: not a regular file\n{tmp}/fifo: not a "
               "regular file\n{tmp}/empty.xml: line 1: Premature end of document.\n"_s;
    }
    void command()
    {
        QFETCH(QString, files);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QString outText, errText;
        QTextStream outStream(&outText), errStream(&errText);
        QTEST(PadCheckCommand::run(at(files).split(u'|'), outStream, errStream), "exitCode");
        QCOMPARE(outText, at(out));
        QCOMPARE(errText, at(err));
    }
};

QTEST_GUILESS_MAIN(TestPadCheck)
#include "tst_padcheck.moc"
