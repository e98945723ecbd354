// Time from a page's completed load to every PAD input written: the fill is
// one script round trip into the page, so this is what a user waits for.
// Loads alternate between the fill and a bare round trip (a script that does
// nothing, in the same world, at the same moment): the engine's floor.
//
//   build-release/bench/bench_autofill [loads of each kind]

#include "HeadlessEngine.h"
#include "core/browser/AutoFillScript.h"
#include "gui/browser/WebEngineBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using tarvelo::AutoFillScript;
using tarvelo::WebEngineBrowser;

namespace {

double percentile(std::vector<double> sorted, double share)
{
    const auto index = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted.at(index);
}

} // namespace

int main(int argc, char *argv[])
{
    useHeadlessEngine();
    QApplication app(argc, argv);
    const int loads = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;

    WebEngineBrowser browser;
    browser.widget()->resize(1024, 768);
    browser.widget()->show();

    const QString padUrl = u"https://example.org/software/pad/app.xml"_s;
    const QString page = QStringLiteral(TARVELO_TEST_DATA "/web/targets.html");
    std::vector<double> roundTrips; // milliseconds
    std::vector<double> bareTrips;  // milliseconds
    std::vector<double> builds;     // microseconds
    int warmUp = 6;
    bool bareTurn = false;

    QObject::connect(&browser, &WebEngineBrowser::downloadComplete, &browser, [&] {
        bareTurn = !bareTurn;
        if (bareTurn) {
            QElapsedTimer clock;
            clock.start();
            browser.runIsolatedScript(u"0"_s, [&, clock](const QVariant &) {
                const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
                if (warmUp > 0)
                    --warmUp;
                else
                    bareTrips.push_back(elapsed);
                browser.refresh();
            });
            return;
        }
        QElapsedTimer clock;
        clock.start();
        const QString script = AutoFillScript::build(padUrl);
        const double built = static_cast<double>(clock.nsecsElapsed()) / 1e3;
        browser.runIsolatedScript(script, [&, built, clock](const QVariant &written) {
            const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (written.toInt() != 12) {
                QTextStream(stderr) << "fill wrote " << written.toInt() << " inputs, not 12\n";
                app.exit(1);
                return;
            }
            if (warmUp > 0) {
                --warmUp;
            } else {
                roundTrips.push_back(elapsed);
                builds.push_back(built);
            }
            if (static_cast<int>(roundTrips.size()) == loads)
                app.quit();
            else
                browser.refresh();
        });
    });
    browser.navigate(page);
    QTimer::singleShot(300000, &app, [&] { app.exit(2); });
    if (const int code = app.exec())
        return code;

    std::sort(roundTrips.begin(), roundTrips.end());
    std::sort(bareTrips.begin(), bareTrips.end());
    std::sort(builds.begin(), builds.end());
    QTextStream out(stdout);
    out << "loads " << roundTrips.size() << " of " << page << "\n"
        << "script build (us)    median " << percentile(builds, 0.5) << "  p95 "
        << percentile(builds, 0.95) << "\n"
        << "load done -> filled (ms)  min " << roundTrips.front() << "  median "
        << percentile(roundTrips, 0.5) << "  p95 " << percentile(roundTrips, 0.95) << "  max "
        << roundTrips.back() << "\n"
        << "load done -> bare trip (ms) min " << bareTrips.front() << "  median "
        << percentile(bareTrips, 0.5) << "  p95 " << percentile(bareTrips, 0.95) << "  max "
        << bareTrips.back() << "\n"
        << "fill / bare trip, medians: " << percentile(roundTrips, 0.5) / percentile(bareTrips, 0.5)
        << "\n";
    return 0;
}
