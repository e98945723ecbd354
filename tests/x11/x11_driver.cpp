// The program as main() composes it, with one addition for the X11
// end-to-end test: once started it opens the page given on the command line
// and reports on standard output where the page's first input sits on screen
// and, whenever it changes, that input's value.
#include "app/Program.h"
#include "gui/browser/WebEngineBrowser.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Once the help page has loaded, opens the test page; after that reports
// where its first input sits on screen.
void openPageAndReportInput(tarvelo::WebEngineBrowser &browser, const QString &page)
{
    auto opened = std::make_shared<bool>(false);
    QObject::connect(
        &browser, &tarvelo::Browser::downloadComplete, &browser, [&browser, page, opened] {
            if (!*opened) {
                *opened = true;
                browser.navigate(page);
                return;
            }
            browser.runIsolatedScript(
                QStringLiteral(
                    "(function(){var r=document.querySelector('input').getBoundingClientRect();"
                    "return [r.left+r.width/2, r.top+r.height/2];})()"),
                [&browser](const QVariant &v) {
                    const QVariantList xy = v.toList();
                    const QPoint inView(int(xy.value(0).toDouble()), int(xy.value(1).toDouble()));
                    const QPoint onScreen = browser.view()->mapToGlobal(inView);
                    say(QStringLiteral("INPUT %1 %2").arg(onScreen.x()).arg(onScreen.y()));
                });
        });
}

// Reports the first input's value whenever it changes.
void reportValues(tarvelo::WebEngineBrowser &browser)
{
    auto *poll = new QTimer(&browser);
    auto last = std::make_shared<QString>();
    QObject::connect(poll, &QTimer::timeout, &browser, [&browser, last] {
        browser.runIsolatedScript(
            QStringLiteral(
                "(function(){var i=document.querySelector('input');return i?i.value:null;})()"),
            [last](const QVariant &v) {
                if (v.isNull() || v.toString() == *last)
                    return;
                *last = v.toString();
                say(QStringLiteral("VALUE ") +
                    QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{*last})
                                          .toJson(QJsonDocument::Compact)));
            });
    });
    poll->start(100);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const QString page = QString::fromLocal8Bit(argv[1]);
    return tarvelo::runProgram(argc, argv,
                               [&](tarvelo::Session &, tarvelo::WebEngineBrowser &browser) {
                                   openPageAndReportInput(browser, page);
                                   reportValues(browser);
                               });
}
