// The campaign store on a large campaign: 10,000 sites, 3 programs with history
// on 9 sites in 10. A state change (one transaction, synced to disk), opening
// the file (lock, integrity check, schema, seeding) and the latest states of a
// program for the Sites tab.
//
//   build/bench/bench_store [--benchmark_...]   (files in a temporary folder
//   of the current one's disk: /tmp is on the same disk here)

#include "core/campaign/CampaignStore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

constexpr int SiteCount = 10000;
constexpr int ProgramCount = 3;
constexpr int BuiltInCount = 300;

QStringList siteAddresses(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << u"https://directory%1.example/submit"_s.arg(i);
    return list;
}

void mustBeTrue(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "set-up failed: %s\n", what);
        std::exit(1);
    }
}

// One to three steps per program on 9 sites in 10, in one transaction of a
// connection of our own: a year of a campaign, written in a second.
void addHistory(const QString &path)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"history"_s);
        db.setDatabaseName(path);
        mustBeTrue(db.open() && db.transaction(), "history connection");
        QSqlQuery insert(db);
        insert.prepare(u"INSERT INTO states (program_id, site_id, state, version, at, detail)"
                       " VALUES (?, ?, ?, ?, ?, ?)"_s);
        const QDateTime start({2026, 1, 5}, {9, 0}, Qt::UTC);
        const QStringList states = {u"submitted"_s, u"listed"_s, u"rejected"_s};
        for (int program = 1; program <= ProgramCount; ++program) {
            for (int site = 1; site <= SiteCount; ++site) {
                if (site % 10 == 0)
                    continue;
                for (int step = 0; step <= site % 3; ++step) {
                    insert.addBindValue(program);
                    insert.addBindValue(site);
                    insert.addBindValue(states[step]);
                    insert.addBindValue(u"1.%1"_s.arg(site % 3));
                    insert.addBindValue(
                        start.addSecs(3600LL * (site + step * 24 * 30)).toString(Qt::ISODate));
                    insert.addBindValue(u"https://listing.example/%1"_s.arg(site));
                    mustBeTrue(insert.exec(), "history step");
                }
            }
        }
        mustBeTrue(db.commit(), "history commit");
    }
    QSqlDatabase::removeDatabase(u"history"_s);
}

struct Campaign
{
    QTemporaryDir dir{u"bench_store-XXXXXX"_s};
    QString path = dir.filePath(u"campaign.sqlite"_s);

    Campaign()
    {
        {
            CampaignStore store;
            mustBeTrue(store.open(path, siteAddresses(SiteCount)).ok, "seeding 10,000 sites");
            for (int p = 0; p < ProgramCount; ++p)
                store.programId({u"https://me.example/pad%1.xml"_s.arg(p), u"Program %1"_s.arg(p)});
        }
        addHistory(path);
    }
};

Campaign &campaign()
{
    static Campaign big;
    return big;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() * 99 / 100];
}

void setState(benchmark::State &state)
{
    CampaignStore store;
    mustBeTrue(store.open(campaign().path, siteAddresses(BuiltInCount)).ok, "open");
    std::vector<double> ms;
    int site = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const qint64 id = store.setState(2, 1 + site++ % SiteCount, SiteState::Listed, u"1.3"_s,
                                         u"https://listing.example/new"_s);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        benchmark::DoNotOptimize(id);
    }
    state.counters["median_ms"] = median(ms);
    state.counters["p99_ms"] = percentile99(ms);
}

void openStore(benchmark::State &state)
{
    const QStringList builtIns = siteAddresses(BuiltInCount);
    for (auto _ : state) {
        CampaignStore store;
        mustBeTrue(store.open(campaign().path, builtIns).ok, "open");
    }
    state.counters["file_MB"] = double(QFileInfo(campaign().path).size()) / 1e6;
}

void latestStates(benchmark::State &state)
{
    CampaignStore store;
    mustBeTrue(store.open(campaign().path, {}).ok, "open");
    qsizetype entries = 0;
    for (auto _ : state) {
        const auto latest = store.latestStates(2, u"1.2"_s);
        entries = latest.size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = double(entries);
}

} // namespace

BENCHMARK(setState)->Unit(benchmark::kMillisecond)->Iterations(500);
BENCHMARK(openStore)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(latestStates)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // Qt SQL finds its SQLite driver as a plugin
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
