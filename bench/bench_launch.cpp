// Launch time and memory after start-up: the program (tarvelo_probe, which is
// main() unchanged plus launch marks) against a bare QWebEngineView loading
// the same help page in a process of its own (bare_view). The two start
// alternately, A B B A, each with a fresh home, the offscreen platform and the
// same browser engine flags.
//
// A third side is the program on a campaign of 10,000 sites with three
// programs in its three profiles, set against the program on the built-in
// list with the same three programs: both homes get a store file made before
// the runs, and the same settings.
//
//   bench_launch [runs per side] [settle ms]      (defaults 10 and 2000)
//
// TARVELO_BENCH_PROBE=PATH measures another build of the program (an older
// one, say) against the same bare view. Marks a side prints beyond the three
// below (a build timing its own steps) are listed as medians too.
//
// Time: from just before the process is spawned to the later of "window
// exposed" and "first page loaded". The program's "listed" mark, its site
// list filled from the store after that, is listed with the other marks. Memory: resident set and
// proportional set summed over the process tree (the engine's helper processes included), settle ms
// after that moment.
#include "ProcessTree.h"
#include "ProgramRun.h"
#include "core/browser/SiteDirectory.h"
#include "core/campaign/CampaignStore.h"
#include "core/profiles/PadReader.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using tarvelo::ProcessTree;
using tarvelo::ProgramRun;
namespace fs = std::filesystem;

namespace {

struct Run
{
    double shownMs = 0;
    double loadedMs = 0;
    double readyMs = 0;
    double cpuAtReadyS = 0;
    ProcessTree::Memory memory;
    std::map<std::string, double> otherMs; // further marks, since the spawn
};

struct Side
{
    const char *name;
    std::vector<std::string> argv;
    std::vector<Run> runs;
    fs::path store;         // copied into the home before the start, when given
    bool opensStore = true; // prints "listed" once its store is read
};

const char *const padFiles[] = {TARVELO_TEST_DATA "/pad/startrek.xml",
                                TARVELO_TEST_DATA "/pad/brlcad.xml",
                                TARVELO_TEST_DATA "/pad/antiprism.xml"};

// A store with the built-in sites plus extraSites more, and the three PAD
// files' programs, each with a step on every seventh site.
bool makeStore(const fs::path &path, int extraSites)
{
    tarvelo::CampaignStore store;
    if (!store.open(QString::fromStdString(path.string()), tarvelo::SiteDirectory::load()).ok)
        return false;
    QList<tarvelo::SiteEntry> entries;
    for (int i = 0; i < extraSites; ++i)
        entries.append({QStringLiteral("https://dir%1.example/submit").arg(i), {}, {}});
    if (!store.addSites(entries))
        return false;
    const QList<tarvelo::SiteRecord> sites = store.sites();
    for (const char *pad : padFiles) {
        const auto read = tarvelo::PadReader::read(QString::fromUtf8(pad));
        if (!read)
            return false;
        const qint64 program = store.programId({{}, read->value(tarvelo::Field::ProgName)});
        for (qsizetype i = 0; i < sites.size(); i += 7)
            store.setState(program, sites[i].id, tarvelo::SiteState::Submitted,
                           QStringLiteral("0.1"));
    }
    return true;
}

void prepareHome(const Side &side, const fs::path &home)
{
    if (side.store.empty())
        return;
    const fs::path data = home / "data" / "Tarvelo" / "Tarvelo";
    fs::create_directories(data);
    fs::copy_file(side.store, data / "campaign.sqlite");
    // On the disk before the start, as a user's store is: its writing-back
    // would otherwise fall into the timed start of the side with the long file.
    const int copied = ::open((data / "campaign.sqlite").c_str(), O_RDONLY);
    if (copied >= 0) {
        ::fsync(copied);
        ::close(copied);
    }
    fs::create_directories(home / "config" / "Tarvelo");
    std::ofstream settings(home / "config" / "Tarvelo" / "Tarvelo.conf");
    settings << "[Settings]\n";
    for (int i = 0; i < 3; ++i)
        settings << "txtLocalPAD" << i << "=" << padFiles[i] << "\n";
}

std::optional<Run> runOnce(const Side &side, const fs::path &home, int settleMs)
{
    prepareHome(side, home);
    ProgramRun program(side.argv, home, TARVELO_HELP_PAGE);
    if (!program.waitReady(60000)) {
        std::fprintf(stderr, "%s: no ready mark within 60 s\n%s\n", side.name,
                     program.log().c_str());
        return std::nullopt;
    }
    Run run;
    run.cpuAtReadyS = ProcessTree::of(program.pid()).cpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    if (side.opensStore)
        (void)program.waitFor("listed", 5000); // its list filled from the store
    run.memory = ProcessTree::of(program.pid()).memory();
    const auto since = [&](const char *mark) {
        return double(program.mark(mark) - program.startedAt()) / 1e6;
    };
    run.shownMs = since("shown");
    run.loadedMs = since("loaded");
    run.readyMs = since("ready");
    for (const auto &[name, at] : program.marks()) {
        if (name != "shown" && name != "loaded" && name != "ready")
            run.otherMs[name] = since(name.c_str());
    }
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Medians of the marks beyond shown, loaded and ready, in the order they come.
void printOtherMarks(const Side &side)
{
    std::map<std::string, std::vector<double>> byName;
    for (const Run &run : side.runs) {
        for (const auto &[name, ms] : run.otherMs)
            byName[name].push_back(ms);
    }
    std::vector<std::pair<double, std::string>> ordered;
    for (const auto &[name, values] : byName)
        ordered.emplace_back(median(values), name);
    std::sort(ordered.begin(), ordered.end());
    for (const auto &[ms, name] : ordered)
        std::printf("%-10s %-24s %10.2f ms since the spawn\n", side.name, name.c_str(), ms);
}

// Medians of a against b, with the goals for the launch and memory ratios
// (none when 0).
void printTable(const Side &a, const Side &b, double readyGoal, double memoryGoal)
{
    struct Row
    {
        const char *what;
        double (*field)(const Run &);
        double goal;
    };
    const Row rows[] = {
        {"window shown (ms)", [](const Run &r) { return r.shownMs; }, 0},
        {"page loaded (ms)", [](const Run &r) { return r.loadedMs; }, 0},
        {"shown and loaded (ms)", [](const Run &r) { return r.readyMs; }, readyGoal},
        {"shown to loaded (ms)", [](const Run &r) { return r.readyMs - r.shownMs; }, 0},
        {"CPU until ready (s)", [](const Run &r) { return r.cpuAtReadyS; }, 0},
        {"RSS, tree (MB)", [](const Run &r) { return double(r.memory.rssKb) / 1024; }, memoryGoal},
        {"PSS, tree (MB)", [](const Run &r) { return double(r.memory.pssKb) / 1024; }, memoryGoal},
        {"processes", [](const Run &r) { return double(r.memory.processes); }, 0},
    };
    std::printf("\nmedians of %zu + %zu runs\n", a.runs.size(), b.runs.size());
    std::printf("%-24s %10s %10s %7s %6s\n", "", a.name, b.name, "ratio", "goal");
    for (const Row &row : rows) {
        std::vector<double> x, y;
        for (const Run &run : a.runs)
            x.push_back(row.field(run));
        for (const Run &run : b.runs)
            y.push_back(row.field(run));
        const double ratio = median(x) / median(y);
        std::printf("%-24s %10.2f %10.2f %7.3f", row.what, median(x), median(y), ratio);
        if (row.goal > 0)
            std::printf(" %6.2f %s", row.goal, ratio <= row.goal ? "met" : "MISSED");
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv); // Qt SQL's driver, for the stores
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int settleMs = argc > 2 ? std::max(0, std::atoi(argv[2])) : 2000;
    char pattern[] = "/tmp/tarvelo-launch-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const fs::path base(pattern);
    int serial = 0;
    const auto nextHome = [&] { return base / ("home-" + std::to_string(serial++)); };

    const char *probe = std::getenv("TARVELO_BENCH_PROBE");
    Side program{"tarvelo", {probe && *probe ? probe : TARVELO_PROBE}, {}, {}};
    Side bare{"bare view", {TARVELO_BARE_VIEW, "@PAGE@"}, {}, {}, false};
    Side builtIn{"built-in", program.argv, {}, base / "builtin.sqlite"};
    Side large{"10k sites", program.argv, {}, base / "large.sqlite"};
    if (!makeStore(builtIn.store, 0) || !makeStore(large.store, 10000)) {
        std::fprintf(stderr, "the stores could not be made\n");
        fs::remove_all(base);
        return 1;
    }
    // One start each brings the libraries into the page cache; not counted.
    for (const Side *side : {&program, &bare, &builtIn, &large}) {
        if (!runOnce(*side, nextHome(), 0)) {
            fs::remove_all(base);
            return 1;
        }
    }

    std::printf("%-10s %4s %9s %9s %9s %8s %9s %9s %5s\n", "side", "run", "shown ms", "loaded ms",
                "ready ms", "cpu s", "RSS MB", "PSS MB", "procs");
    int failed = 0;
    for (int i = 0; i < runs; ++i) {
        // A B B A: drift on the machine falls on both sides alike
        Side *order[4] = {&program, &bare, &builtIn, &large};
        if (i % 2) {
            std::swap(order[0], order[1]);
            std::swap(order[2], order[3]);
        }
        for (Side *side : order) {
            const std::optional<Run> run = runOnce(*side, nextHome(), settleMs);
            if (!run) {
                ++failed;
                continue;
            }
            side->runs.push_back(*run);
            std::printf("%-10s %4d %9.1f %9.1f %9.1f %8.2f %9.1f %9.1f %5d\n", side->name, i,
                        run->shownMs, run->loadedMs, run->readyMs, run->cpuAtReadyS,
                        double(run->memory.rssKb) / 1024, double(run->memory.pssKb) / 1024,
                        run->memory.processes);
            std::fflush(stdout);
        }
    }
    fs::remove_all(base);
    if (program.runs.empty() || bare.runs.empty() || builtIn.runs.empty() || large.runs.empty())
        return 1;

    std::printf("\n%d failed, settle %d ms\n", failed, settleMs);
    printTable(program, bare, 1.10, 1.10);
    printTable(large, builtIn, 1.05, 0);
    for (const Side *side : {&program, &bare, &builtIn, &large})
        printOtherMarks(*side);
    return failed == 0 ? 0 : 1;
}
