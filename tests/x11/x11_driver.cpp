// The program composed exactly as main() does, with one addition for the X11
// end-to-end test: once started it opens the page given on the command line
// and reports on standard output where the page's first input sits on screen
// and, whenever it changes, that input's value.
#include "app/Session.h"
#include "core/settings/SettingsStore.h"
#include "gui/browser/Browser.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/KeyStateFilter.h"
#include "gui/window/MainWindow.h"
#include "gui/window/QtDialogs.h"

#include <QApplication>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvelo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString page = QString::fromLocal8Bit(argv[1]);

    tarvelo::QtDialogs dialogs;
    tarvelo::SettingsStore settings;
    tarvelo::KeyStateFilter keys;
    tarvelo::WebEngineBrowser browser;
    tarvelo::Session session({dialogs, browser, keys, settings});
    session.startUp();
    session.window().show();

    const auto say = [](const QString &line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    };
    bool opened = false;
    QObject::connect(&browser, &tarvelo::Browser::downloadComplete, &app, [&] {
        if (!opened) {
            opened = true;
            browser.navigate(page);
            return;
        }
        browser.runIsolatedScript(
            QStringLiteral("(function(){var r=document.querySelector('input').getBoundingClientRect();"
                           "return [r.left+r.width/2, r.top+r.height/2];})()"),
            [&](const QVariant &v) {
                const QVariantList xy = v.toList();
                const QPoint inView(int(xy.value(0).toDouble()), int(xy.value(1).toDouble()));
                const QPoint onScreen = browser.view()->mapToGlobal(inView);
                say(QStringLiteral("INPUT %1 %2").arg(onScreen.x()).arg(onScreen.y()));
            });
    });
    QString last;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        browser.runIsolatedScript(
            QStringLiteral("(function(){var i=document.querySelector('input');return i?i.value:null;})()"),
            [&](const QVariant &v) {
                if (v.isNull() || v.toString() == last)
                    return;
                last = v.toString();
                say(QStringLiteral("VALUE ")
                    + QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{last}).toJson(
                        QJsonDocument::Compact)));
            });
    });
    poll.start(100);
    return app.exec();
}
