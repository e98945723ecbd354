#include "core/campaign/CampaignStore.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QDateTime t0 = QDateTime({2026, 12, 7}, {10, 15}, Qt::UTC);

// A PRAGMA's answer, read through a connection of the test's own.
QString pragma(const QString &path, const QString &name)
{
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"probe"_s);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(u"PRAGMA "_s + name) && query.next())
            answer = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(u"probe"_s);
    return answer;
}

QStringList addresses(const QList<SiteRecord> &sites)
{
    QStringList list;
    for (const SiteRecord &site : sites)
        list << site.address + (site.retired ? u" (retired)"_s : QString());
    return list;
}

} // namespace

class TestCampaignStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void opens_data();
    void opens();
    void seeding();
    void addSite_data();
    void addSite();
    void undoState();
    void latestStates_data();
    void latestStates();
    void taughtBoxes();
    void exportLog();
    void diskFull();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestCampaignStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"sub/campaign.sqlite"_s);
}

void TestCampaignStore::opens_data()
{
    // What lies at the path before open(); an empty file is schema version 0. Reopening
    // a current store is the seeding test's.
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("ok");
    QTest::newRow("no file") << u"none"_s << true;
    QTest::newRow("empty file, version 0") << u"empty"_s << true;
    QTest::newRow("later version") << u"later"_s << false;
}

void TestCampaignStore::opens()
{
    QFETCH(QString, before);
    QFETCH(bool, ok);
    QDir().mkpath(QFileInfo(m_path).path());
    if (before == "empty"_L1)
        QFile(m_path).open(QIODevice::WriteOnly);
    if (before == "later"_L1) {
        QVERIFY(CampaignStore().open(m_path, {}).ok);
        pragma(m_path, u"user_version = 7"_s);
    }

    CampaignStore store;
    const CampaignStore::OpenOutcome outcome = store.open(m_path, {u"http://a.example/"_s});
    QVERIFY2(outcome.ok == ok, qPrintable(outcome.message));
    QCOMPARE(store.isOpen(), ok);
    if (!ok) {
        QVERIFY2(outcome.message.contains(m_path) && outcome.message.contains(u"later Tarvelo"_s),
                 qPrintable(outcome.message));
        QCOMPARE(pragma(m_path, u"user_version"_s), u"7"_s);
        return;
    }
    QCOMPARE(store.sites().size(), 1);
    QCOMPARE(pragma(m_path, u"user_version"_s), u"1"_s);
    QCOMPARE(pragma(m_path, u"journal_mode"_s), u"wal"_s);
}

void TestCampaignStore::seeding()
{
    const QString a = u"http://a.example/submit"_s, b = u"http://b.example/add"_s,
                  c = u"http://c.example/"_s;
    {
        CampaignStore first;
        QVERIFY(first.open(m_path, {a, b, u"not an address"_s}).ok);
        QCOMPARE(addresses(first.sites()), QStringList({a, b}));
        QVERIFY(first.retireSite(*first.siteIdFor(b)));
        // The user adds an address a later release ships too, written otherwise.
        QVERIFY(first.addSite({u"HTTP://C.Example:80"_s, u"Mine"_s, {}}));
    }
    {
        // A later release: c is new to the built-in list; b was retired.
        CampaignStore later;
        QVERIFY(later.open(m_path, {a, b, c, u"https://d.example/"_s}).ok);
        QCOMPARE(addresses(later.sites(true)),
                 QStringList(
                     {a, b + u" (retired)"_s, u"HTTP://C.Example:80"_s, u"https://d.example/"_s}));
        QCOMPARE(later.site(*later.siteIdFor(c))->name, u"Mine"_s);
        QVERIFY(later.retireSite(*later.siteIdFor(u"https://d.example"_s)));
    }
    CampaignStore again;
    QVERIFY(again.open(m_path, {a, b, c, u"https://d.example/"_s}).ok);
    QCOMPARE(addresses(again.sites()), QStringList({a, u"HTTP://C.Example:80"_s}));
}

void TestCampaignStore::addSite_data()
{
    // In use: http://example.com/submit; retired: http://old.example/form (id 2).
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("added");
    QTest::addColumn<qint64>("id"); // when added; 0 for a new id
    QTest::newRow("written otherwise") << u"HTTP://Example.com:80/submit/"_s << false << 0LL;
    QTest::newRow("https is another site") << u"https://example.com/submit"_s << true << 0LL;
    QTest::newRow("retired comes back") << u"http://OLD.example/form/"_s << true << 2LL;
    QTest::newRow("not http") << u"ftp://example.com/submit"_s << false << 0LL;
}

void TestCampaignStore::addSite()
{
    QFETCH(QString, address);
    QFETCH(bool, added);
    QFETCH(qint64, id);
    CampaignStore store;
    QVERIFY(store.open(m_path, {u"http://example.com/submit"_s, u"http://old.example/form"_s}).ok);
    QVERIFY(store.retireSite(2));

    const std::optional<qint64> got = store.addSite({address, u"Name"_s, u"Note"_s});
    QCOMPARE(got.has_value(), added);
    QCOMPARE(store.sites().size(), added ? 2 : 1);
    if (!added) {
        QVERIFY(!store.lastError().isEmpty());
        return;
    }
    QCOMPARE(*got, id ? id : 3);
    QCOMPARE(store.site(*got)->name, u"Name"_s);
}

void TestCampaignStore::undoState()
{
    CampaignStore store;
    QVERIFY(store.open(m_path, {u"http://a.example/"_s}).ok);
    const qint64 program = store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
    QCOMPARE(store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s}), program);
    const qint64 first = store.setState(program, 1, SiteState::Submitted, u"1.0"_s, {}, t0);
    const qint64 second =
        store.setState(program, 1, SiteState::Listed, u"1.0"_s, u"http://a.example/p"_s, t0);
    QVERIFY2(first && second, qPrintable(store.lastError()));

    QVERIFY(store.undoState(second));
    QCOMPARE(store.latestStates(program, u"1.0"_s).value(1).id, first);
    QVERIFY(!store.undoState(second));
    QVERIFY(store.undoState(first));
    QVERIFY(store.history(program, 1).isEmpty());
}

void TestCampaignStore::latestStates_data()
{
    // Steps on site 1 as "state version minutes-after-t0", in recording order;
    // then what latestStates() says for it ("-" no entry).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("latest");
    const auto row = [](const char *name, const QStringList &steps, const QString &site,
                        const QString &current, const QString &latest) {
        QTest::newRow(name) << steps << site << current << latest;
    };
    row("no history", {}, u"in use"_s, u"1.0"_s, u"-"_s);
    row("no history, dead", {}, u"dead"_s, u"1.0"_s, u"dead"_s);
    row("retired", {u"listed 1.0 0"_s}, u"retired"_s, u"1.0"_s, u"-"_s);
    row("listed, current", {u"listed 1.1 0"_s}, u"in use"_s, u"1.1"_s, u"listed"_s);
    row("listed, older", {u"listed 1.0 0"_s}, u"in use"_s, u"1.1"_s, u"update-due"_s);
    row("awaiting e-mail, older", {u"awaiting-email 1.0 0"_s}, u"in use"_s, u"2.0"_s,
        u"update-due"_s);
    row("rejected never due", {u"rejected 1.0 0"_s}, u"in use"_s, u"2.0"_s, u"rejected"_s);
    row("todo again", {u"listed 1.0 0"_s, u"todo - 5"_s}, u"in use"_s, u"2.0"_s, u"todo"_s);
    row("no current version", {u"listed 1.0 0"_s}, u"in use"_s, QString(), u"listed"_s);
    row("dead over due", {u"listed 1.0 0"_s}, u"dead"_s, u"2.0"_s, u"dead"_s);
    row("latest by time, not by entry", {u"rejected 2.0 5"_s, u"submitted 2.0 0"_s}, u"in use"_s,
        u"2.0"_s, u"rejected"_s);
    row("same time: later entry", {u"submitted 2.0 0"_s, u"listed 2.0 0"_s}, u"in use"_s, u"2.0"_s,
        u"listed"_s);
}

void TestCampaignStore::latestStates()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, site);
    QFETCH(QString, current);
    QFETCH(QString, latest);
    CampaignStore store;
    QVERIFY(store.open(m_path, {u"http://a.example/"_s, u"http://b.example/"_s}).ok);
    const qint64 program = store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
    const qint64 other = store.programId({u"http://me.example/pad.xml"_s, u"Other"_s});
    for (const QString &step : steps) {
        const QStringList part = step.split(u' ');
        QVERIFY(store.setState(program, 1, *stateFromName(part[0]), part[1], {},
                               t0.addSecs(60 * part[2].toInt())));
    }
    // Another program's later step on the site, and a step on another site.
    QVERIFY(store.setState(other, 1, SiteState::Rejected, u"9"_s, {}, t0.addDays(1)));
    QVERIFY(store.setState(program, 2, SiteState::Skipped, {}, {}, t0));
    if (site == "dead"_L1)
        QVERIFY(store.setSiteDead(1, true));
    if (site == "retired"_L1)
        QVERIFY(store.retireSite(1));

    const QHash<qint64, StateRecord> states = store.latestStates(program, current);
    QCOMPARE(states.value(2).state, SiteState::Skipped);
    QCOMPARE(states.contains(1) ? stateName(states.value(1).state) : u"-"_s, latest);
}

void TestCampaignStore::taughtBoxes()
{
    {
        CampaignStore store;
        QVERIFY(store.open(m_path, {}).ok);
        for (const QStringList &box :
             {QStringList{u"a.example"_s, u"Program title"_s, u"txtProgName"_s},
              {u"a.example"_s, u"Short 'desc'"_s, u"txtDesc45"_s},
              {u"a.example"_s, u"Program title"_s, u"txtProgVer"_s},
              {u"b.example"_s, u"Title"_s, u"txtProgName"_s}})
            QVERIFY(store.teachBox(box[0], box[1], box[2]));
        QVERIFY(store.clearTaughtBoxes(u"b.example"_s));
    }
    CampaignStore store;
    QVERIFY(store.open(m_path, {}).ok);
    const QHash<QString, QString> expected = {{u"Program title"_s, u"txtProgVer"_s},
                                              {u"Short 'desc'"_s, u"txtDesc45"_s}};
    QCOMPARE(store.taughtBoxes(u"a.example"_s), expected);
    QVERIFY(store.taughtBoxes(u"b.example"_s).isEmpty());
}

void TestCampaignStore::exportLog()
{
    CampaignStore store;
    QVERIFY(store.open(m_path, {u"http://a.example/"_s}).ok);
    const qint64 b = *store.addSite({u"https://b.example/add?x=1,2"_s, u"B, \"the\" best"_s, {}});
    const qint64 c = *store.addSite({u"http://c.example/"_s, u"Ç\nnew line"_s, {}});
    const qint64 gone = *store.addSite({u"http://gone.example/"_s, {}, {}});
    const qint64 prog = store.programId({u"http://me.example/pad.xml"_s, u"Prog, \"Pro\""_s});
    store.programId({u"http://me.example/other.xml"_s, u"Other"_s});
    QVERIFY(store.setState(prog, 1, SiteState::Listed, u"1.2"_s, u"http://a.example/p/1"_s, t0));
    QVERIFY(store.setState(prog, b, SiteState::Listed, u"1.10"_s, {}, t0.addSecs(-60)));
    QVERIFY(store.setState(prog, c, SiteState::Rejected, u"1.0"_s, u"no \"freeware\"\r\n"_s, t0));
    QVERIFY(store.setState(prog, gone, SiteState::Listed, u"1.0"_s, {}, t0));
    QVERIFY(store.retireSite(gone));
    QVERIFY(store.setSiteDead(c, true));

    QString error;
    const QString csv = m_dir->filePath(u"log.csv"_s);
    QVERIFY2(store.exportLog(csv, &error), qPrintable(error));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected =
        "site,name,program,pad_url,version,status,date,note\r\n"
        "http://a.example/,,\"Prog, \"\"Pro\"\"\",http://me.example/pad.xml,1.2,update-due,"
        "2026-12-07T10:15:00Z,http://a.example/p/1\r\n"
        "\"https://b.example/add?x=1,2\",\"B, \"\"the\"\" best\",\"Prog, \"\"Pro\"\"\","
        "http://me.example/pad.xml,1.10,listed,2026-12-07T10:14:00Z,\r\n"
        "http://c.example/,\"\xc3\x87\nnew line\",\"Prog, \"\"Pro\"\"\",http://me.example/pad.xml,"
        "1.0,dead,2026-12-07T10:15:00Z,\"no \"\"freeware\"\"\r\n\"\r\n"
        "http://a.example/,,Other,http://me.example/other.xml,,todo,,\r\n"
        "\"https://b.example/add?x=1,2\",\"B, \"\"the\"\" best\",Other,"
        "http://me.example/other.xml,,todo,,\r\n"
        "http://c.example/,\"\xc3\x87\nnew line\",Other,http://me.example/other.xml,,dead,,\r\n";
    QCOMPARE(file.readAll(), expected);
}

void TestCampaignStore::diskFull()
{
    CampaignStore store;
    QVERIFY(store.open(m_path, {u"http://a.example/"_s}).ok);
    const qint64 program = store.programId({u"http://me.example/pad.xml"_s, u"Prog"_s});
    // The file may not grow by a page: SQLite answers as on a full disk.
    QSqlDatabase db = QSqlDatabase::database(QSqlDatabase::connectionNames().constFirst());
    QSqlQuery(u"PRAGMA max_page_count = 1"_s, db);
    const QString note(100000, u'x');
    QCOMPARE(store.setState(program, 1, SiteState::Submitted, u"1.0"_s, note), 0);
    QVERIFY2(store.lastError().contains(u"full"_s), qPrintable(store.lastError()));
    QVERIFY(!store.addSites({{u"http://b.example/"_s, note, {}}}));
    QVERIFY(store.history(program, 1).isEmpty());
    QCOMPARE(store.sites().size(), 1);

    QSqlQuery(u"PRAGMA max_page_count = 1000000"_s, db);
    QVERIFY(store.setState(program, 1, SiteState::Submitted, u"1.0"_s, note));
}

QTEST_GUILESS_MAIN(TestCampaignStore)
#include "tst_campaignstore.moc"
