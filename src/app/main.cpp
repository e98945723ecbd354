#include "app/CommandLine.h"
#include "app/Session.h"
#include "app/SettingsStore.h"
#include "browser/WebEngineBrowser.h"
#include "filling/KeyStateFilter.h"
#include "ui/FrmMain.h"
#include "ui/QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const auto exitCode = tarvelo::CommandLine::run(argc, argv))
        return *exitCode;
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvelo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication app(argc, argv);
    // Lets the desktop match the window to its entry and icon (Wayland too).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tarvelo.Tarvelo"));

    tarvelo::QtDialogs dialogs;
    tarvelo::SettingsStore settings;
    tarvelo::KeyStateFilter keys;
    tarvelo::WebEngineBrowser browser;

    tarvelo::Session session({dialogs, browser, keys, settings});
    session.startUp();
    session.window().show();
    return app.exec();
}
