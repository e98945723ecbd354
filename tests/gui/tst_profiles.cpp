// Reading PAD files into the window's profiles: LoadPad, the counter, and the
// "Local PAD" label click with a scripted file dialog.
#include "WindowFixture.h"

#include "profiles/ProfilesPanel.h"
#include "ui/ClickableLabel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tarvelo;

class TestProfiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void realPadFile_data();
    void realPadFile();
    void encodingsGiveTheSameName_data();
    void encodingsGiveTheSameName();
    void loadTouchesOnlyItsProfile();
    void badInput_data();
    void badInput();
    void emptyFileEmptiesAllTaggedFields();
    void counterFollowsLongDescription_data();
    void counterFollowsLongDescription();
    void labelClick_data();
    void labelClick();
    void startUpReadsStoredFiles();
};

namespace {
QString padFile(const QString &name)
{
    return QStringLiteral(TARVELO_TEST_DATA "/pad/") + name;
}

QByteArray padWith(const QByteArray &name, const QByteArray &longDesc = "long",
                   const QByteArray &padUrl = "http://example.com/pad.xml")
{
    return "<XML_DIZ_INFO><Program_Info><Program_Name>" + name
           + "</Program_Name></Program_Info><Char_Desc_450>" + longDesc
           + "</Char_Desc_450><Application_XML_File_URL>" + padUrl
           + "</Application_XML_File_URL></XML_DIZ_INFO>";
}
} // namespace

void TestProfiles::realPadFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");

    QTest::newRow("UTF-8 accented name") << "metamorphose.xml" << int(Field::ProgName)
                                         << QStringLiteral("Métamorphose File -n- Folder Renamer");
    QTest::newRow("UTF-8 accented author") << "metamorphose.xml" << int(Field::Author)
                                           << QStringLiteral("Ianaré");
    QTest::newRow("numeric entity in BOM file") << "dvdstyler.xml" << int(Field::Company)
                                                << QStringLiteral("Alex Th&#252;ring");
    QTest::newRow("BOM file name") << "dvdstyler.xml" << int(Field::ProgName)
                                   << QStringLiteral("DVDStyler");
    QTest::newRow("PAD URL") << "jucevlc.xml" << int(Field::PADURL)
                             << QStringLiteral("http://jucevlc.sourceforge.net/pad_file.xml");
    QTest::newRow("escaped bracket decoded") << "jucevlc.xml" << int(Field::LongDesc)
                                             << QStringLiteral(">--<");
    QTest::newRow("upper-case tags find nothing") << "unlockmdm-upper.xml" << int(Field::ProgName)
                                                  << QString();
    QTest::newRow("Windows-1252 file") << "dumphex-cp1252-raw.xml" << int(Field::Email)
                                       << QStringLiteral("DumpHex@rbach.priv.at");
}

void TestProfiles::realPadFile()
{
    QFETCH(QString, file);
    QFETCH(int, field);
    QFETCH(QString, value);
    WindowFixture fx;
    FrmMain &w = fx.window();
    w.txtLocalPAD[1]->setText(padFile(file));
    QVERIFY(fx.session->profiles().LoadPad(1));
    const QString got = w.fieldText(Field(field), 1);
    if (Field(field) == Field::LongDesc)
        QVERIFY2(got.contains(value), qPrintable(got.left(200)));
    else
        QCOMPARE(got, value);
    QVERIFY(!w.padText.isEmpty());
    QCOMPARE(w.txtLocalPAD[1]->text(), padFile(file));
}

void TestProfiles::encodingsGiveTheSameName_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8") << padWith("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac");
    QTest::newRow("UTF-8 with BOM") << "\xef\xbb\xbf" + padWith("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac");
    QTest::newRow("Windows-1252") << padWith("Gr\xfc\xdf" "e \x80");
    QTest::newRow("entities") << padWith("Gr&#xfc;&#xdf;e &#x80;");
    QTest::newRow("escaped entities") << padWith("Gr&amp;#xfc;&amp;#xdf;e &amp;#x80;");
}

void TestProfiles::encodingsGiveTheSameName()
{
    QFETCH(QByteArray, bytes);
    WindowFixture fx;
    fx.window().txtLocalPAD[0]->setText(fx.makeFile(QStringLiteral("p.xml"), bytes));
    QVERIFY(fx.session->profiles().LoadPad(0));
    QCOMPARE(fx.window().fieldText(Field::ProgName, 0), QStringLiteral("Grüße €"));
}

void TestProfiles::loadTouchesOnlyItsProfile()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    w.setCurrentProfileTag(QStringLiteral("2"));
    w.txtLocalPAD[1]->setText(fx.makeFile(QStringLiteral("one.xml"), padWith("One")));
    QVERIFY(fx.session->profiles().LoadPad(1));

    QCOMPARE(w.fieldText(Field::ProgName, 1), QStringLiteral("One"));
    // A tag the file lacks leaves its field empty: the default does not come back.
    QCOMPARE(w.fieldText(Field::Author, 1), QString());
    QCOMPARE(w.fieldText(Field::ProgName, 0), QStringLiteral("Program Name"));
    QCOMPARE(w.fieldText(Field::ProgName, 2), QStringLiteral("Program Name"));
    QCOMPARE(w.currentProfileTag(), QStringLiteral("2"));
}

void TestProfiles::badInput_data()
{
    // input: what the profile is pointed at, made inside the test folder;
    // loads: whether the file is read at all; name: the program name after it.
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("route"); // "LoadPad", or "click" with the chosen file
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("name");

    struct Case
    {
        const char *input;
        bool loads;
        QString name;
    };
    const QString kept = QStringLiteral("Good");
    const Case cases[] = {
        {"empty path", false, kept},
        {"missing", false, kept},
        {"folder", false, kept},
        {"device", false, kept},
        {"fifo without writer", false, kept},
        {"200 MB sparse file", false, kept},
        {"newline in a missing path", false, kept},
        {"5000 characters", false, kept},
        {"5000 characters of folders", false, kept},
        {"NUL in path", false, kept},
        {"no read permission", false, kept},
        // Read, as every file the reader accepts: the tags it lacks empty their fields.
        {"binary", true, QString()},
        {"newline in a real file name", true, QStringLiteral("Two lines")},
        {"not UTF-8 and not Windows-1252", true,
         QStringView(u"\u0081\u008d\u008f\u0090\u009d\u00c3(").toString()},
        {"broken UTF-16", true, QStringView(u"\ufffdx\ufffd").toString()},
    };
    for (const Case &c : cases) {
        for (const char *route : {"LoadPad", "click"}) {
            // An empty choice in the dialog is a cancel, not a path.
            if (QByteArrayView(c.input) == "empty path" && QByteArrayView(route) == "click")
                continue;
            QTest::addRow("%s, %s", c.input, route)
                << QString::fromLatin1(c.input) << QString::fromLatin1(route) << c.loads << c.name;
        }
    }
}

void TestProfiles::badInput()
{
    QFETCH(QString, input);
    QFETCH(QString, route);
    QFETCH(bool, loads);
    QFETCH(QString, name);
    if (input == u"no read permission" && ::geteuid() == 0)
        QSKIP("root reads every file");

    WindowFixture fx;
    FrmMain &w = fx.window();
    const QString dir = fx.dir.path();
    QString path;
    if (input == u"empty path") {
        // no path at all
    } else if (input == u"missing") {
        path = dir + QStringLiteral("/missing.xml");
    } else if (input == u"folder") {
        path = dir;
    } else if (input == u"device") {
        path = QStringLiteral("/dev/zero");
    } else if (input == u"fifo without writer") {
        path = dir + QStringLiteral("/pipe.xml");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (input == u"200 MB sparse file") {
        path = dir + QStringLiteral("/huge.xml");
        QFile huge(path);
        // Sparse: no disk space, and the head holds a valid name that must not load.
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write(padWith("Huge")) > 0);
        QVERIFY(huge.resize(200LL * 1024 * 1024));
    } else if (input == u"newline in a missing path") {
        path = dir + QStringLiteral("/two\nlines.xml");
    } else if (input == u"5000 characters") {
        path = dir + u'/' + QString(5000, u'x');
    } else if (input == u"5000 characters of folders") {
        path = dir + QStringLiteral("/a").repeated(2500);
    } else if (input == u"NUL in path") {
        path =
            fx.makeFile(QStringLiteral("nul.xml"), padWith("Nul")) + QChar(0) + QStringLiteral("x");
    } else if (input == u"no read permission") {
        path = fx.makeFile(QStringLiteral("locked.xml"), padWith("Locked"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    } else if (input == u"binary") {
        QRandomGenerator random(4711);
        QByteArray junk(256 * 1024, Qt::Uninitialized);
        for (char &c : junk)
            c = char(random.bounded(256));
        junk[0] = 'x'; // not a UTF-16 byte-order mark
        path = fx.makeFile(QStringLiteral("binary.xml"), junk);
    } else if (input == u"newline in a real file name") {
        path = fx.makeFile(QStringLiteral("two\nlines.xml"), padWith("Two lines"));
    } else if (input == u"not UTF-8 and not Windows-1252") {
        // Bytes no UTF-8 decoder takes, among them the five Windows-1252 leaves unassigned.
        path = fx.makeFile(QStringLiteral("noenc.xml"), padWith("\x81\x8d\x8f\x90\x9d\xc3("));
    } else if (input == u"broken UTF-16") {
        // Little-endian, a lone low and a lone high surrogate, and an odd last byte.
        const QString text = QStringLiteral("<Program_Name>") + QChar(0xDC00) + u'x' +
                             QChar(0xD800) + QStringLiteral("</Program_Name>");
        QByteArray bytes("\xff\xfe");
        for (QChar c : text) {
            bytes += char(c.unicode() & 0xff);
            bytes += char(c.unicode() >> 8);
        }
        path = fx.makeFile(QStringLiteral("utf16.xml"), bytes + 'A');
    } else {
        QFAIL("no such input");
    }

    w.txtLocalPAD[0]->setText(fx.makeFile(QStringLiteral("good.xml"), padWith("Good", "abc")));
    QVERIFY(fx.session->profiles().LoadPad(0));
    const auto snapshot = [&w] {
        QStringList values{w.padText, w.lblNumChar[0]->text()};
        for (int i = 0; i < ProfileCount; ++i) {
            for (Field f : padLoadOrder())
                values << w.fieldText(f, i);
        }
        return values;
    };
    const QStringList before = snapshot();

    QElapsedTimer timer;
    timer.start();
    if (route == u"LoadPad") {
        w.txtLocalPAD[0]->setText(path);
        QCOMPARE(fx.session->profiles().LoadPad(0), loads);
    } else {
        fx.dialogs.chosenFiles.enqueue(path);
        QTest::mouseClick(w.lblLocalPad[0], Qt::LeftButton);
        QCOMPARE(fx.dialogs.fileDialogsShown, 1);
    }
    const qint64 elapsed = timer.elapsed();
    QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("took %1 ms").arg(elapsed)));

    QVERIFY(fx.dialogs.messages.isEmpty());
    QCOMPARE(w.txtLocalPAD[0]->text(), path);
    QCOMPARE(w.fieldText(Field::ProgName, 0), name);
    if (!loads)
        QCOMPARE(snapshot(), before);
    // Other profiles are never touched.
    QCOMPARE(w.fieldText(Field::ProgName, 1), QStringLiteral("Program Name"));
}

void TestProfiles::emptyFileEmptiesAllTaggedFields()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    const QString empty = fx.makeFile(QStringLiteral("empty.xml"), {});
    w.txtLocalPAD[2]->setText(empty);
    QVERIFY(fx.session->profiles().LoadPad(2));
    for (Field f : padLoadOrder())
        QCOMPARE(w.fieldText(f, 2), QString());
    QCOMPARE(w.txtLocalPAD[2]->text(), empty);
    QCOMPARE(w.lblNumChar[2]->text(), QStringLiteral("Char: 0"));
}

void TestProfiles::counterFollowsLongDescription_data()
{
    QTest::addColumn<QByteArray>("longDesc");
    QTest::addColumn<QString>("caption");
    QTest::newRow("450 on one line") << QByteArray(450, 'a') << QStringLiteral("Char: 450");
    QTest::newRow("two lines of three, CR LF") << QByteArray("abc\r\ndef") << QStringLiteral("Char: 8");
    QTest::newRow("two lines of three, LF") << QByteArray("abc\ndef") << QStringLiteral("Char: 8");
    QTest::newRow("accents count once") << QByteArray("\xc3\xa9t\xc3\xa9") << QStringLiteral("Char: 3");
    QTest::newRow("empty element") << QByteArray() << QStringLiteral("Char: 0");
}

void TestProfiles::counterFollowsLongDescription()
{
    QFETCH(QByteArray, longDesc);
    QFETCH(QString, caption);
    WindowFixture fx;
    FrmMain &w = fx.window();
    QCOMPARE(w.lblNumChar[1]->text(), QStringLiteral("Char: "));
    w.txtLocalPAD[1]->setText(fx.makeFile(QStringLiteral("d.xml"), padWith("N", longDesc)));
    QVERIFY(fx.session->profiles().LoadPad(1));
    QCOMPARE(w.lblNumChar[1]->text(), caption);
    QCOMPARE(w.lblNumChar[0]->text(), QStringLiteral("Char: "));
}

void TestProfiles::labelClick_data()
{
    // before: the box's path before the click; answer: what the dialog returns
    // ("" = cancel); "@name" stands for a file in the test folder.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("pathAfter");
    QTest::addColumn<QString>("nameAfter");

    QTest::newRow("choose a file") << QString() << "@b.xml" << "@b.xml" << "B";
    QTest::newRow("cancel re-reads the kept file") << "@a.xml" << "" << "@a.xml" << "A";
    QTest::newRow("cancel with no path loads nothing") << "" << "" << "" << "Program Name";
    QTest::newRow("typed missing name stays, nothing loaded")
        << "@a.xml" << "@typed.xml" << "@typed.xml" << "edited";
    QTest::newRow("empty file empties the fields") << "@a.xml" << "@empty.xml" << "@empty.xml" << "";
    QTest::newRow("other extension read the same") << "" << "@pad.txt" << "@pad.txt" << "T";
}

void TestProfiles::labelClick()
{
    QFETCH(QString, before);
    QFETCH(QString, answer);
    QFETCH(QString, pathAfter);
    QFETCH(QString, nameAfter);
    WindowFixture fx;
    FrmMain &w = fx.window();
    fx.makeFile(QStringLiteral("a.xml"), padWith("A"));
    fx.makeFile(QStringLiteral("b.xml"), padWith("B"));
    fx.makeFile(QStringLiteral("empty.xml"), {});
    fx.makeFile(QStringLiteral("pad.txt"), padWith("T"));
    const auto resolve = [&](QString p) {
        return p.startsWith(u'@') ? fx.dir.path() + u'/' + p.mid(1) : p;
    };
    w.txtLocalPAD[2]->setText(resolve(before));
    // Something the user typed since: a reload replaces it.
    w.setFieldText(Field::ProgName, 2, before.isEmpty() ? QStringLiteral("Program Name")
                                                         : QStringLiteral("edited"));
    fx.dialogs.chosenFiles.enqueue(resolve(answer));

    QTest::mouseClick(w.lblLocalPad[2], Qt::LeftButton);

    QCOMPARE(fx.dialogs.fileDialogsShown, 1);
    QCOMPARE(w.txtLocalPAD[2]->text(), resolve(pathAfter));
    QCOMPARE(w.fieldText(Field::ProgName, 2), nameAfter);
    QCOMPARE(w.txtLocalPAD[2]->property("Tag").toString(), resolve(before));
    QVERIFY(fx.dialogs.messages.isEmpty());
    QCOMPARE(w.fieldText(Field::ProgName, 0), QStringLiteral("Program Name"));
}

void TestProfiles::startUpReadsStoredFiles()
{
    WindowFixture fx;
    const QString one = fx.makeFile(QStringLiteral("one.xml"), padWith("Stored One"));
    fx.storePaths({QString(), one, fx.dir.filePath(QStringLiteral("gone.xml"))});
    fx.session->startUp();
    QCOMPARE(fx.window().fieldText(Field::ProgName, 1), QStringLiteral("Stored One"));
    QCOMPARE(fx.window().fieldText(Field::PADURL, 1), QStringLiteral("http://example.com/pad.xml"));
    QCOMPARE(fx.dialogs.messages.size(), 1);
}

QTEST_MAIN(TestProfiles)
#include "tst_profiles.moc"
