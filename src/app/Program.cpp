#include "app/Program.h"

#include "app/RootSandbox.h"
#include "app/Session.h"
#include "core/browser/SiteDirectory.h"
#include "core/campaign/CampaignStore.h"
#include "core/settings/SettingsStore.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/KeyStateFilter.h"
#include "gui/profiles/PadFileDialog.h"
#include "gui/window/MainWindow.h"
#include "gui/window/QtDialogs.h"

#include <QApplication>

namespace tarvelo {

int runProgram(int argc, char **argv, const StartedHook &onStarted)
{
    switchOffSandboxForRoot(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvelo"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvelo"));
    QApplication app(argc, argv);
    // Lets the desktop match the window to its entry and icon (Wayland too).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tarvelo.Tarvelo"));

    QtDialogs dialogs(&PadFileDialog::open);
    SettingsStore settings;
    KeyStateFilter keys;
    WebEngineBrowser browser;
    CampaignStore store;

    Session session({dialogs, browser, keys, settings, store});
    session.startUp();
    session.window().show();
    session.openStoreLater([](CampaignStore &campaign) {
        return campaign.open(CampaignStore::defaultPath(), SiteDirectory::load());
    });
    if (onStarted)
        onStarted(session, browser);
    return app.exec();
}

} // namespace tarvelo
