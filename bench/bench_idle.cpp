// What the program costs while the user does nothing: CPU time of its process
// tree (the engine's helpers included) over a stretch of idle time, in four
// states of focus. The keypad timer ticks every 10 ms while it runs; it must
// not run while the browser or the window lacks the focus. A bare view
// (bare_view, its own process, the same page) idles alongside over the same
// stretches: that is the engine's own floor.
//
//   bench_idle [seconds per state]      (default 30)
//
// The program is composed as main() composes it, in a fresh home, offscreen.
#include "BenchProgram.h"
#include "ProcessTree.h"
#include "ProgramRun.h"
#include "app/Session.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/FillingPanel.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

using namespace tarvelo;
namespace fs = std::filesystem;

namespace {

void useHome(const fs::path &home)
{
    for (const char *sub : {"config", "data", "cache", "runtime"})
        fs::create_directories(home / sub);
    fs::permissions(home / "runtime", fs::perms::owner_all);
    qputenv("HOME", home.c_str());
    qputenv("XDG_CONFIG_HOME", (home / "config").c_str());
    qputenv("XDG_DATA_HOME", (home / "data").c_str());
    qputenv("XDG_CACHE_HOME", (home / "cache").c_str());
    qputenv("XDG_RUNTIME_DIR", (home / "runtime").c_str());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
}

// The idle figures of the started program, the bare view idling alongside.
int measureIdle(Session &session, WebEngineBrowser &browser, const ProgramRun &bare, int seconds)
{
    MainWindow &window = session.window();
    const FillingPanel &filling = session.filling();
    QObject scope; // the connections to this function's locals end with it
    bool loaded = false;
    QObject::connect(&browser, &Browser::downloadComplete, &scope, [&] { loaded = true; });
    if (!waitFor([&] { return loaded && window.isActiveWindow(); }, 60000)) {
        std::fprintf(stderr, "the help page did not load, or the window is not active\n");
        return 1;
    }
    pause(2000); // the engine's own work after the first load

    QTimer *timer = window.keyTimer();
    int ticks = 0;
    QObject::connect(timer, &QTimer::timeout, &scope, [&] { ++ticks; });
    QWidget other; // takes the activation away from the window
    QTimer empty;
    empty.setInterval(10);
    empty.setTimerType(Qt::PreciseTimer); // as Qt makes tmrGetKey's 10 ms
    QObject::connect(&empty, &QTimer::timeout, &scope, [] {});
    other.resize(200, 100);

    struct State
    {
        const char *name;
        std::function<void()> enter;
        std::function<bool()> reached;
    };
    const State states[] = {
        {"after start-up", [] {}, [] { return true; }},
        {"browser focused", [&] { browser.setFocus(); }, [&] { return filling.browserHasFocus(); }},
        {"site list focused", [&] { window.siteList()->setFocus(); },
         [&] { return !filling.browserHasFocus(); }},
        // Not a state the program takes: what the engine costs with the
        // focus in the page, to tell the timer's part from the engine's.
        {"browser focused, timer stopped by hand",
         [&] {
             window.activateWindow();
             browser.setFocus();
             waitFor([&] { return filling.browserHasFocus() && timer->isActive(); }, 5000);
             timer->stop();
         },
         [&] { return filling.browserHasFocus() && !timer->isActive(); }},
        // The same, with an empty 10 ms timer in its place: the cost of the
        // wake-ups alone, without the tick's work.
        {"as above, with an empty 10 ms timer", [&] { empty.start(); },
         [&] { return empty.isActive() && !timer->isActive(); }},
        {"window not active",
         [&] {
             empty.stop();
             window.siteList()->setFocus(); // and back: the browser's focus event starts the timer
             browser.setFocus();
             waitFor([&] { return filling.browserHasFocus() && timer->isActive(); }, 5000);
             other.show();
             other.activateWindow();
         },
         [&] { return !window.isActiveWindow(); }},
    };

    std::printf("%d s per state, platform %s; CPU in %% of one core, resolution %.2f %%\n", seconds,
                qPrintable(QGuiApplication::platformName()),
                100.0 / double(sysconf(_SC_CLK_TCK)) / seconds);
    std::printf("%-40s %6s %8s %9s %9s %11s\n", "state", "timer", "ticks/s", "tarvelo", "bare view",
                "difference");
    for (const State &state : states) {
        state.enter();
        if (!waitFor(state.reached, 5000)) {
            std::fprintf(stderr, "%s: state not reached\n", state.name);
            return 1;
        }
        pause(500);
        const ProcessTree ours = ProcessTree::of(getpid(), {bare.pid()});
        const ProcessTree floor = ProcessTree::of(bare.pid());
        const double ourStart = ours.cpuSeconds();
        const double floorStart = floor.cpuSeconds();
        ticks = 0;
        const long long start = ProgramRun::now();
        pause(seconds * 1000);
        const double wall = double(ProgramRun::now() - start) / 1e9;
        // the trees as they are now: a helper may have come meanwhile
        const double ourCpu = ProcessTree::of(getpid(), {bare.pid()}).cpuSeconds() - ourStart;
        const double floorCpu = ProcessTree::of(bare.pid()).cpuSeconds() - floorStart;
        std::printf("%-40s %6s %8.1f %8.2f%% %8.2f%% %+10.2f%%\n", state.name,
                    timer->isActive() ? "on" : "off", ticks / wall, 100 * ourCpu / wall,
                    100 * floorCpu / wall, 100 * (ourCpu - floorCpu) / wall);
        std::fflush(stdout);
    }
    other.hide();

    // One tick's own work, called straight: the browser has the focus and no
    // key is down, as in an idle tick.
    window.activateWindow();
    browser.setFocus();
    waitFor([&] { return filling.browserHasFocus(); }, 5000);
    timer->stop();
    constexpr int calls = 100000;
    const long long before = ProgramRun::now();
    for (int i = 0; i < calls; ++i)
        session.filling().onKeyTimer();
    std::printf("one tick's work, called %d times: %.2f us each\n", calls,
                double(ProgramRun::now() - before) / 1e3 / calls);
    return 0;
}

int measure(int argc, char *argv[], const fs::path &base)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    // The floor first, in its own process and home, so its start is over.
    ProgramRun bare({TARVELO_BARE_VIEW, "@PAGE@"}, base / "bare", TARVELO_HELP_PAGE);
    if (!bare.waitReady(60000)) {
        std::fprintf(stderr, "bare view did not start\n%s\n", bare.log().c_str());
        return 1;
    }
    useHome(base / "tarvelo");
    return runBenchProgram(argc, argv, [&](Session &session, WebEngineBrowser &browser) {
        return measureIdle(session, browser, bare, seconds);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    char pattern[] = "/tmp/tarvelo-idle-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const int code = measure(argc, argv, fs::path(pattern));
    fs::remove_all(pattern);
    return code;
}
