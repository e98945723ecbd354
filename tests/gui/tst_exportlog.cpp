#include "core/campaign/CampaignStore.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

// `tarvelo --export-log FILE.csv`, the real binary with a data folder of its own.
class TestExportLog : public QObject
{
    Q_OBJECT
private slots:
    void exportLog_data();
    void exportLog();
};

void TestExportLog::exportLog_data()
{
    // The store at the binary's default path; "held": open in a running copy (this test).
    QTest::addColumn<QString>("store");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("no store") << u"none"_s << 2 << u"no campaign store at %1"_s;
    QTest::newRow("while the window runs") << u"held"_s << 0 << QString();
    QTest::newRow("not a database") << u"damaged"_s << 2 << u"The campaign store %1"_s;
}

void TestExportLog::exportLog()
{
    QFETCH(QString, store);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrHas);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"data/Tarvelo/Tarvelo/campaign.sqlite"_s);
    const QString csv = dir.filePath(u"log.csv"_s);
    CampaignStore running;
    if (store != "none"_L1) {
        QVERIFY(running.open(path, {u"http://a.example/"_s}).ok);
        const qint64 program = running.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
        QVERIFY(running.setState(program, 1, SiteState::Listed, u"1.0"_s));
    }
    if (store != "held"_L1)
        running.open(dir.filePath(u"elsewhere.sqlite"_s), {});
    if (store == "damaged"_L1) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a database\n"));
    }

    QProcess tarvelo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, dir.filePath(u"data"_s));
    tarvelo.setProcessEnvironment(env);
    tarvelo.start(QStringLiteral(TARVELO_BINARY), {u"--export-log"_s, csv});
    QVERIFY(tarvelo.waitForFinished(30000));
    const QString errors = QString::fromUtf8(tarvelo.readAllStandardError());
    QVERIFY2(tarvelo.exitCode() == exitCode, qPrintable(errors));
    QVERIFY2(stderrHas.isEmpty() ? errors.isEmpty() : errors.contains(stderrHas.arg(path)),
             qPrintable(errors));
    if (exitCode != 0) {
        QVERIFY(!QFile::exists(csv));
        QCOMPARE(QFile::exists(path), store != "none"_L1); // never created, never moved
        return;
    }
    // The CSV's form is the store's own test; here: the running copy's step is in it.
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(
        "\r\nhttp://a.example/,,Prog,http://me.example/pad.xml,1.0,listed,"));
}

QTEST_GUILESS_MAIN(TestExportLog)
#include "tst_exportlog.moc"
