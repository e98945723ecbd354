// Time from a keypad Enter press to every box of a 30-box form written: the
// key event, the keypad tick, the values and the one page script that
// recognises and fills the boxes, and the page's own input events. Beside
// each fill, the engine's floor for one value: the clipboard, select-all and
// paste into one box, called straight away, to the same input event.
//
//   bench_formfill [presses]      (default 200)
//
// The program is composed as main() composes it, with the test program's PAD
// file (tests/data/forms/program.xml) as profile 1.
#include "BenchProgram.h"
#include "app/Session.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/FillingPanel.h"
#include "gui/profiles/ProfilesPanel.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
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

constexpr int Boxes = 30;

const char16_t *const labels[Boxes] = {
    u"Program name",
    u"Version",
    u"First name",
    u"Last name",
    u"Author",
    u"Company",
    u"E-mail",
    u"Home page",
    u"Download URL",
    u"Mirror URL",
    u"File size (KB)",
    u"Price",
    u"Keywords",
    u"Short description",
    u"Description",
    u"Screenshot URL",
    u"Icon URL",
    u"PAD URL",
    u"Release date",
    u"Operating system",
    u"System requirements",
    u"License",
    u"Programmname",
    u"Versión",
    u"Courriel",
    u"Sito web",
    u"Цена",
    u"Size in bytes",
    u"Size in MB",
    u"Summary (max 80 characters)",
};

// The input event that finds every box written stamps the wall-clock time
// into the title, once per round, and the browser reports it back.
QString page()
{
    QString rows;
    for (int i = 0; i < Boxes; ++i) {
        const QString label = QString::fromUtf16(labels[i]);
        rows += i == 14 ? u"<tr><td>%1</td><td><textarea name=\"b%2\"></textarea></td></tr>\n"_s
                        : u"<tr><td>%1</td><td><input name=\"b%2\"></td></tr>\n"_s;
        rows = rows.arg(label).arg(i);
    }
    return uR"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>bench</title></head>
<body><form><table>
)"_s + rows +
           uR"(</table><input id="single" style="width:400px"></form>
<script>
  var boxes = document.querySelectorAll('table input, table textarea');
  var stamped = null;
  document.addEventListener('input', function (e) {
    var now = (performance.timeOrigin + performance.now()).toFixed(3);
    if (e.target.id === 'single') {
      if (/^Value \d+\.$/.test(e.target.value))
        document.title = e.target.value + '|' + now;
      return;
    }
    var round = document.body.dataset.round;
    if (stamped === round)
      return;
    for (var i = 0; i < boxes.length; i++)
      if (!boxes[i].value)
        return;
    stamped = round;
    document.title = 'filled ' + round + '|' + now;
  }, true);
</script></body></html>)"_s;
}

// Empties the boxes again and starts a new round, in the program's world like
// the fill (the page's document is shared, its scripts are not).
QString emptyBoxes(int round)
{
    return uR"(document.querySelectorAll('input, textarea').forEach(
    function (box) { box.value = ''; }); document.body.dataset.round = '%1'; 0)"_s.arg(round);
}

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

struct Figures
{
    double median, p90, max;
};

Figures figuresOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) {
        return values[std::min(values.size() - 1, size_t(q * double(values.size() - 1) + 0.5))];
    };
    return {at(0.5), at(0.9), values.back()};
}

void print(const char *what, const Figures &f)
{
    std::printf("%-40s median %6.2f  p90 %6.2f  max %6.2f ms\n", what, f.median, f.p90, f.max);
}

bool runScript(WebEngineBrowser &browser, const QString &script)
{
    bool done = false;
    browser.runIsolatedScript(script, [&](const QVariant &) { done = true; });
    return waitFor([&] { return done; }, 5000, 1);
}

int measure(Session &session, WebEngineBrowser &browser, int presses)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"bench.html"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(page().toUtf8()) < 0)
        return 1;
    file.close();

    MainWindow &window = session.window();
    window.localPadBox(0)->setText(QStringLiteral(TARVELO_TEST_DATA "/forms/program.xml"));
    session.profiles().showNamedFile(0);
    window.activateWindow();
    QObject scope;
    bool loaded = false;
    QObject::connect(&browser, &Browser::downloadComplete, &scope,
                     [&] { loaded = browser.locationUrl().endsWith(u"/bench.html"_s); });
    browser.navigate(file.fileName());
    if (!waitFor([&] { return loaded && QApplication::activeWindow(); }, 30000, 1))
        return std::fprintf(stderr, "page did not load\n"), 1;
    bool focused = false;
    browser.runIsolatedScript(u"document.getElementById('single').focus()"_s,
                              [&](const QVariant &) { focused = true; });
    browser.setFocus();
    if (!waitFor([&] { return focused && session.filling().browserHasFocus(); }, 10000, 1))
        return std::fprintf(stderr, "browser did not take the focus\n"), 1;

    QString title;
    QObject::connect(&browser, &Browser::titleChange, &scope, [&](const QString &t) { title = t; });
    const auto sendKey = [&](QEvent::Type type, quint64 timestamp) {
        QKeyEvent event(type, Qt::Key_Enter, Qt::KeypadModifier, u"\r"_s);
        event.setTimestamp(timestamp);
        QCoreApplication::sendEvent(window.windowHandle(), &event);
    };

    std::vector<double> filled, floorPaste;
    int missed = 0;
    quint64 keyTime = 1000;
    for (int i = 0; i < presses; ++i) {
        if (!runScript(browser, emptyBoxes(i + 1)))
            return std::fprintf(stderr, "the page stopped answering\n"), 1;
        pause(int(QRandomGenerator::global()->bounded(5, 25)));
        const QString prefix = u"filled %1|"_s.arg(i + 1);
        const double pressed = nowMs();
        sendKey(QEvent::KeyPress, keyTime += 100);
        const bool arrived = waitFor([&] { return title.startsWith(prefix); }, 3000, 1);
        sendKey(QEvent::KeyRelease, keyTime += 50);
        if (!arrived) {
            std::fprintf(stderr, "press %d: not all boxes written, title %s\n", i,
                         qPrintable(title));
            ++missed;
            continue;
        }
        filled.push_back(title.mid(prefix.size()).toDouble() - pressed);

        const QString value = u"Value %1."_s.arg(i);
        pause(int(QRandomGenerator::global()->bounded(5, 25)));
        const double asked = nowMs();
        QGuiApplication::clipboard()->setText(value);
        browser.selectAll();
        browser.paste();
        const QString floorPrefix = value + u'|';
        if (!waitFor([&] { return title.startsWith(floorPrefix); }, 2000, 1)) {
            ++missed;
            continue;
        }
        floorPaste.push_back(title.mid(floorPrefix.size()).toDouble() - asked);
    }

    std::printf("keypad Enter -> %d boxes written, %d presses, %d missed, platform %s\n", Boxes,
                presses, missed, qPrintable(QGuiApplication::platformName()));
    if (filled.empty() || floorPaste.empty())
        return 1;
    print("press to every box written:", figuresOf(filled));
    print("floor: one paste alone to its value:", figuresOf(floorPaste));
    std::printf("goal: press to every box written, median <= 10 ms\n");
    return missed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    return runBenchProgram(argc, argv, [presses](Session &session, WebEngineBrowser &browser) {
        return measure(session, browser, presses);
    });
}
