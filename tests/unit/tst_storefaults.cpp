#include "core/campaign/CampaignStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

constexpr int BurstSize = 1000;
constexpr int KillAfter = 300;

// Child: 1,000 state changes, each id printed once setState reported it done.
int burst(const QString &path)
{
    CampaignStore store;
    if (!store.open(path, {u"http://a.example/"_s}).ok)
        return 3;
    const qint64 program = store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
    for (int i = 0; i < BurstSize; ++i) {
        const qint64 id = store.setState(program, 1, SiteState::Submitted, QString::number(i));
        if (!id)
            return 4;
        std::printf("%lld\n", static_cast<long long>(id));
        std::fflush(stdout);
    }
    return 0;
}

// Child: holds the store open until its standard input closes.
int hold(const QString &path)
{
    CampaignStore store;
    const bool ok = store.open(path, {}).ok;
    std::printf("%s\n", ok ? "open" : "failed");
    std::fflush(stdout);
    char line[8];
    while (std::fgets(line, sizeof line, stdin))
        ;
    return ok ? 0 : 3;
}

QProcess *startChild(const char *mode, const QString &path, QObject *parent)
{
    auto *child = new QProcess(parent);
    child->start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), path});
    return child;
}

QString integrity(const QString &path)
{
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"probe"_s);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(u"PRAGMA integrity_check"_s) && query.next())
            answer = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(u"probe"_s);
    return answer;
}

// The open failed and said why, naming the file.
bool refused(const CampaignStore::OpenOutcome &outcome, const QString &path, const QString &why)
{
    if (!outcome.ok && outcome.message.contains(path) && outcome.message.contains(why))
        return true;
    qWarning("%s", qPrintable(outcome.message));
    return false;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStoreFaults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void damaged_data();
    void damaged();
    void locked();
    void readOnly_data();
    void readOnly();
    void killedInBurst();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestStoreFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"campaign.sqlite"_s);
}

void TestStoreFaults::damaged_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("text file") << u"text"_s;
    QTest::newRow("cut inside the header") << u"cut"_s;
    QTest::newRow("pages overwritten") << u"pages"_s;
}

void TestStoreFaults::damaged()
{
    QFETCH(QString, damage);
    {
        CampaignStore store;
        QVERIFY(store.open(m_path, {u"http://a.example/"_s, u"http://b.example/"_s}).ok);
        const qint64 program = store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
        for (int i = 0; i < 200; ++i)
            QVERIFY(store.setState(program, 1 + i % 2, SiteState::Listed, QString(500, u'v')));
    }
    QByteArray bytes = readFile(m_path);
    QVERIFY(bytes.size() > 16384);
    if (damage == "text"_L1)
        bytes = "site,name\r\nhttp://a.example/,A\r\n";
    else if (damage == "cut"_L1)
        bytes.truncate(50);
    else
        bytes.replace(4096, 8192, QByteArray(8192, '\xab'));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    CampaignStore store;
    const CampaignStore::OpenOutcome outcome = store.open(m_path, {u"http://a.example/"_s});
    QVERIFY(refused(outcome, m_path, u"damaged"_s));
    QVERIFY(outcome.keptAside.startsWith(m_path + u".damaged-"_s));
    QVERIFY(outcome.message.contains(outcome.keptAside));
    QCOMPARE(readFile(outcome.keptAside), bytes);
    // Nothing new in its place: the caller decides what to run with.
    QVERIFY(!QFile::exists(m_path));
    QVERIFY(!store.isOpen());
}

void TestStoreFaults::locked()
{
    const QString inUse = u"is in use by another running Tarvelo (process %1)"_s;
    {
        auto first = std::make_unique<CampaignStore>();
        QVERIFY(first->open(m_path, {}).ok);
        CampaignStore second;
        QVERIFY(refused(second.open(m_path, {}), m_path, inUse.arg(getpid())));
        first.reset();
        QVERIFY(second.open(m_path, {}).ok);
    }

    QProcess *child = startChild("--hold", m_path, this);
    QVERIFY(child->waitForReadyRead(20000));
    QCOMPARE(child->readLine(), "open\n");
    CampaignStore store;
    QVERIFY(refused(store.open(m_path, {}), m_path, inUse.arg(child->processId())));
    // A copy that died leaves its lock behind; it does not count.
    ::kill(pid_t(child->processId()), SIGKILL);
    QVERIFY(child->waitForFinished(10000));
    QVERIFY(QFile::exists(m_path + u".lock"_s));
    const CampaignStore::OpenOutcome after = store.open(m_path, {});
    QVERIFY2(after.ok, qPrintable(after.message));
}

void TestStoreFaults::readOnly_data()
{
    // /proc and /sys refuse even root, who writes anywhere chmod forbids; no path: a
    // store made read-only by chmod.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("why");
    QTest::newRow("folder cannot be made")
        << u"/proc/tarvelo-test/campaign.sqlite"_s << u"cannot be created"_s;
    QTest::newRow("read-only file system") << u"/sys/campaign.sqlite"_s << u"cannot be written"_s;
    QTest::newRow("read-only file") << QString() << u"read-only"_s;
}

void TestStoreFaults::readOnly()
{
    QFETCH(QString, path);
    QFETCH(QString, why);
    if (path.isEmpty()) {
        path = m_path;
        QVERIFY(CampaignStore().open(path, {}).ok);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (QFile file(path); file.open(QIODevice::ReadWrite))
            QSKIP("this user writes to read-only files (root)");
    }
    CampaignStore store;
    QVERIFY(refused(store.open(path, {u"http://a.example/"_s}), path, why));
    QCOMPARE(store.setState(1, 1, SiteState::Listed, u"1"_s), 0);
    QVERIFY(!store.lastError().isEmpty());
}

void TestStoreFaults::killedInBurst()
{
    QProcess *child = startChild("--burst", m_path, this);
    QList<qint64> acknowledged;
    while (acknowledged.size() < KillAfter && child->waitForReadyRead(20000)) {
        while (child->canReadLine())
            acknowledged.append(child->readLine().trimmed().toLongLong());
    }
    QVERIFY(acknowledged.size() >= KillAfter);
    ::kill(pid_t(child->processId()), SIGKILL);
    QVERIFY(child->waitForFinished(10000));
    QCOMPARE(child->exitStatus(), QProcess::CrashExit);
    // Lines already in the pipe were reported done before the kill, too; a
    // cut last line was not.
    for (const QByteArray &line : child->readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            acknowledged.append(line.toLongLong());
    }
    QVERIFY2(acknowledged.size() < BurstSize, "the burst ended before the kill");

    CampaignStore store;
    const CampaignStore::OpenOutcome reopened = store.open(m_path, {u"http://a.example/"_s});
    QVERIFY2(reopened.ok, qPrintable(reopened.message));
    QSet<qint64> kept;
    for (const StateRecord &step : store.history(1, 1))
        kept.insert(step.id);
    for (qint64 id : acknowledged)
        QVERIFY2(kept.contains(id), qPrintable(u"step %1 was lost"_s.arg(id)));
    QCOMPARE(integrity(m_path), u"ok"_s);
    qInfo("%lld changes acknowledged before the kill, %lld in the store",
          qint64(acknowledged.size()), qint64(kept.size()));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--burst") == 0)
        return burst(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0)
        return hold(QString::fromLocal8Bit(argv[2]));
    TestStoreFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storefaults.moc"
