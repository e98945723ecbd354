// Time from a keypad press to the value in the page, through the whole road:
// the key event, the 10 ms keypad timer, the field button, the clipboard, the
// browser's select-all and paste, and the page's own input event. Each press
// is followed by the engine's floor: the clipboard, select-all and paste
// alone, called straight away, to the same input event.
//
//   bench_keypress [presses]      (default 300)
//
// The program is composed as main() composes it; runs on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
#include "BenchProgram.h"
#include "app/Session.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/FillingPanel.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

// The page stamps each pasted value its input receives, in wall-clock
// milliseconds, into its title, which the browser reports back. The digit the
// keypad key types itself is left out: its value never ends in ".".
const char page[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>bench</title></head>
<body><input id="name" style="width:400px">
<script>
  const box = document.getElementById('name');
  box.addEventListener('input', function () {
    if (/^Value \d+\.$/.test(box.value))
      document.title = box.value + '|' + (performance.timeOrigin + performance.now()).toFixed(3);
  });
</script></body></html>)";

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

struct Figures
{
    double median, p90, p99, max, mean;
};

Figures figuresOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, size_t(q * double(values.size() - 1) + 0.5))];
    };
    double sum = 0;
    for (double v : values)
        sum += v;
    return {at(0.5), at(0.9), at(0.99), values.back(), sum / double(values.size())};
}

void print(const char *what, const Figures &f)
{
    std::printf("%-37s median %6.2f  p90 %6.2f  p99 %6.2f  max %6.2f  mean %6.2f ms\n", what,
                f.median, f.p90, f.p99, f.max, f.mean);
}

int measurePresses(Session &session, WebEngineBrowser &browser, int presses)
{
    QTemporaryDir dir;
    const QString pagePath = dir.filePath(u"bench.html"_s);
    QFile file(pagePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(page) < 0)
        return 1;
    file.close();

    MainWindow &window = session.window();
    window.activateWindow();
    QObject scope; // the connections to this function's locals end with it
    bool loaded = false;
    QObject::connect(&browser, &Browser::downloadComplete, &scope,
                     [&] { loaded = browser.locationUrl().endsWith(u"/bench.html"_s); });
    browser.navigate(pagePath);
    if (!waitFor([&] { return loaded && QApplication::activeWindow(); }, 30000, 1)) {
        std::fprintf(stderr, "page did not load\n");
        return 1;
    }
    bool focused = false;
    browser.runIsolatedScript(u"document.getElementById('name').focus()"_s,
                              [&](const QVariant &) { focused = true; });
    browser.setFocus();
    if (!waitFor([&] { return focused && session.filling().browserHasFocus(); }, 10000, 1)) {
        std::fprintf(stderr, "browser did not take the focus\n");
        return 1;
    }

    QString title;
    QObject::connect(&browser, &Browser::titleChange, &scope, [&](const QString &t) { title = t; });
    const auto sendKey = [&](QEvent::Type type, quint64 timestamp) {
        QKeyEvent event(type, Qt::Key_1, Qt::KeypadModifier, u"1"_s);
        event.setTimestamp(timestamp);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };

    // The paste begins when the value reaches the clipboard.
    QString pasteValue;
    double pasteStarted = 0;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &scope, [&] {
        if (QGuiApplication::clipboard()->text() == pasteValue)
            pasteStarted = nowMs();
    });

    std::vector<double> toPaste;
    std::vector<double> inPage;
    std::vector<double> floorInPage;
    std::vector<double> seenBack;
    int missed = 0;
    quint64 keyTime = 1000;
    for (int i = 0; i < presses; ++i) {
        const QString value = u"Value %1."_s.arg(i);
        window.setFieldText(Field::ProgName, 0, value);
        pasteValue = value;
        pasteStarted = 0;
        // Presses fall anywhere in the timer's period, as a user's do.
        pause(int(QRandomGenerator::global()->bounded(5, 25)));

        const double pressed = nowMs();
        sendKey(QEvent::KeyPress, keyTime += 100);
        const QString prefix = value + u'|';
        const bool arrived = waitFor([&] { return title.startsWith(prefix); }, 2000, 1);
        const double back = nowMs();
        sendKey(QEvent::KeyRelease, keyTime += 50);
        if (!arrived) {
            std::fprintf(stderr, "press %d: no paste seen, title %s\n", i, qPrintable(title));
            ++missed;
            continue;
        }
        toPaste.push_back(pasteStarted - pressed);
        inPage.push_back(title.mid(prefix.size()).toDouble() - pressed);
        seenBack.push_back(back - pressed);

        // The floor: what pasteField asks of the browser, without key or timer.
        const QString floorValue = u"Value %1."_s.arg(presses + i);
        pasteValue = floorValue;
        pause(int(QRandomGenerator::global()->bounded(5, 25)));
        const double asked = nowMs();
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setText(floorValue);
        browser.selectAll();
        browser.paste();
        const QString floorPrefix = floorValue + u'|';
        if (!waitFor([&] { return title.startsWith(floorPrefix); }, 2000, 1)) {
            std::fprintf(stderr, "floor %d: no paste seen, title %s\n", i, qPrintable(title));
            ++missed;
            continue;
        }
        floorInPage.push_back(title.mid(floorPrefix.size()).toDouble() - asked);
    }

    std::printf("keypad 1 -> program name in the page, %d presses, %d missed, platform %s\n",
                presses, missed, qPrintable(QGuiApplication::platformName()));
    if (inPage.empty())
        return 1;
    print("press to paste started (tick):", figuresOf(toPaste));
    print("press to value in the page:", figuresOf(inPage));
    print("press to page's answer seen back:", figuresOf(seenBack));
    if (!floorInPage.empty()) {
        const Figures floor = figuresOf(floorInPage);
        print("floor: paste alone to value in page:", floor);
        std::printf(
            "press to value / floor, medians: %.2f (goal: press to value, median <= 12 ms)\n",
            figuresOf(inPage).median / floor.median);
    }
    return missed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true); // no trace in the user's own folders
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    return runBenchProgram(argc, argv, [presses](Session &session, WebEngineBrowser &browser) {
        return measurePresses(session, browser, presses);
    });
}
