#include "app/Session.h"
#include "core/settings/SettingsStore.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/profiles/PadFileDialog.h"
#include "gui/filling/KeyStateFilter.h"
#include "gui/window/MainWindow.h"
#include "gui/window/QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvelo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication app(argc, argv);
    // Lets the desktop match the window to its entry and icon (Wayland too).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tarvelo.Tarvelo"));

    tarvelo::QtDialogs dialogs(&tarvelo::PadFileDialog::open);
    tarvelo::SettingsStore settings;
    tarvelo::KeyStateFilter keys;
    tarvelo::WebEngineBrowser browser;

    tarvelo::Session session({dialogs, browser, keys, settings});
    session.startUp();
    session.window().show();
    return app.exec();
}
