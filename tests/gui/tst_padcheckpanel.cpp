// A profile's PAD check line after a load, and its online check as the PAD
// Files page shows it; the network is a server on 127.0.0.1 only.
#include "../unit/LocalHttpServer.h"
#include "WindowFixture.h"
#include "core/profiles/PadCheck.h"
#include "gui/profiles/ProfilesPanel.h"

#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestPadCheckPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void profileRow_data()
    {
        QTest::addColumn<QString>("file");   // in the test data, or none
        QTest::addColumn<QString>("status"); // how it starts; N: the core check's count
        QTest::addColumn<QString>("online"); // the online report's line, when checked
        const QString good = u"pad/rezervi-generic.xml"_s, ok = u"PAD check 2: OK"_s;
        const QString notXml = u"PAD check 2: not a PAD file: line 3: "_s;
        QTest::newRow("passes") << good << ok << QString();
        QTest::newRow("problems") << u"padcheck/sparse-302.xml"_s << u"PAD check 2: N problems"_s
                                  << QString();
        QTest::newRow("not XML") << u"padcheck/not-xml.xml"_s << notXml << QString();
        QTest::newRow("no file") << QString() << QString() << QString();
        QTest::newRow("online") << good << ok << u"PAD URL: same program and version"_s;
        QTest::newRow("online, cancelled") << good << ok << u"Cancelled"_s;
    }
    void profileRow()
    {
        QFETCH(QString, file);
        QFETCH(QString, status);
        QFETCH(QString, online);
        WindowFixture fx;
        const auto text = [&](const QString &name, const char *property = "text") {
            return fx.control(name)->property(property).toString();
        };
        const QString path = file.isEmpty() ? file : u"" TARVELO_TEST_DATA "/"_s + file;
        const int problems = int(PadCheck::checkFile(path).problems.size());
        status.replace(u"N"_s, QString::number(problems));
        fx.window().setFieldText(Field::LocalPAD, 1, path);
        fx.session->profiles().loadPad(1);
        QTRY_VERIFY(!text(u"lblPadCheck_1"_s).contains(u"checking"_s));
        const QString shown = text(u"lblPadCheck_1"_s);
        QVERIFY2(shown.startsWith(status) && shown.isEmpty() == status.isEmpty(),
                 qPrintable(shown));
        fx.control<QPushButton>(u"cmdPadProblems_1"_s)->click(); // does nothing while disabled
        QCOMPARE(text(u"grdPadProblems"_s, "rowCount").toInt(), problems);
        if (online.isEmpty())
            return;

        // What the PAD URL serves; the file's own addresses, on the internet, are emptied.
        const QByteArray answer = "HTTP/1.1 200 OK\r\nContent-Length: 131\r\n\r\n<XML_DIZ_INFO>"
                                  "<Program_Name>Rezervi Generic Reservierungssystem</Program_Name>"
                                  "<Program_Version>0.9</Program_Version></XML_DIZ_INFO>";
        LocalHttpServer::Load busy;
        LocalHttpServer server([&](auto &, auto &to) { return to == "/silent" ? "" : answer; },
                               &busy);
        for (Field f : {Field::ProgURL, Field::SecURL, Field::SShotURL, Field::ProgIcon})
            fx.window().setFieldText(f, 1, QString());
        const bool cancel = online == u"Cancelled"_s;
        fx.window().setFieldText(Field::PADURL, 1, server.url(cancel ? "/silent" : "/pad.xml"));
        QWidget *progress = fx.control(u"prgOnlineCheck"_s);
        fx.control<QPushButton>(u"cmdCheckOnline_1"_s)->click();
        QVERIFY(!progress->isHidden());
        if (cancel && QTest::qWaitFor([&] { return busy.now > 0; }))
            fx.control<QPushButton>(u"cmdCancelOnline"_s)->click();
        QTRY_VERIFY_WITH_TIMEOUT(progress->isHidden(), 10000);
        QVERIFY(text(u"txtOnlineCheck"_s, "plainText").split(u'\n').contains(online));
    }
};

QTEST_MAIN(TestPadCheckPanel)
#include "tst_padcheckpanel.moc"
