// Replays every input the PAD text fuzzer once broke (fuzz/run.sh keeps them
// in tests/data/fuzz-regressions) through the checks the fuzzer runs, and
// through the whole reading of a file's bytes, so that a fixed fault stays fixed.
#include "PadTextChecks.h"
#include "profiles/PadReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestFuzzRegressions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void replay_data();
    void replay();
};

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("path");
    const QDir folder(QStringLiteral(TARVELO_TEST_DATA "/fuzz-regressions"));
    // The folder comes with its README, so a missing folder is a broken checkout.
    QVERIFY(folder.exists(u"README"_s));
    int inputs = 0;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (name == u"README")
            continue;
        QTest::newRow(qPrintable(name)) << folder.filePath(name);
        ++inputs;
    }
    if (inputs == 0)
        QSKIP("the fuzzer has not broken anything yet");
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    QElapsedTimer timer;
    timer.start();
    const char *problem = checks::padTextProblem(bytes);
    QVERIFY2(!problem, problem);
    const PadReader::Pad pad = PadReader::fromBytes(bytes);
    QCOMPARE(pad.padText, decodeEntities(decodePadBytes(bytes)));
    // The fuzzer gives up on an input after 10 s; a file this size must take far less.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
