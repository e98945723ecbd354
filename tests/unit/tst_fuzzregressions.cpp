// Replays the fuzzer's seed corpus (tests/data/pad) and every input that once
// broke it (kept by fuzz/run.sh in tests/data/fuzz-regressions) through the
// fuzzer's checks and the whole reading of a file, so a fixed fault stays fixed.
#include "PadTextChecks.h"
#include "core/profiles/PadReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
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
    const QDir data(QStringLiteral(TARVELO_TEST_DATA));
    // The folder comes with its README, so a missing folder is a broken checkout.
    QVERIFY(data.exists(u"fuzz-regressions/README"_s));
    QStringList inputs = QDir(data.filePath(u"pad"_s)).entryList({u"*.xml"_s});
    QVERIFY(inputs.size() >= 40);
    inputs.replaceInStrings(QRegularExpression(u"^"_s), u"pad/"_s);
    for (const QString &file : QDir(data.filePath(u"fuzz-regressions"_s)).entryList(QDir::Files))
        inputs << u"fuzz-regressions/"_s + file;
    for (const QString &input : std::as_const(inputs).filter(QRegularExpression(u"/(?!README)"_s)))
        QTest::newRow(qPrintable(input)) << data.filePath(input);
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
    // The whole file, whatever its size, against the slow model.
    QCOMPARE(PadReader::fromBytes(bytes).padText, reference::decodeEntities(decodePadBytes(bytes)));
    // The fuzzer gives up on an input after 10 s; a file this size must take far less.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(u"took %1 ms"_s.arg(timer.elapsed())));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
