#pragma once

#include "core/campaign/CampaignStore.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace tarvelo {

class Browser;
class BrowserPanel;
class CampaignPanel;
class CampaignStore;
class FillingPanel;
class Dialogs;
class MainWindow;
class KeyState;
class Lifecycle;
class NavHover;
class PadCheckPanel;
class ProfilesPanel;
class SettingsStore;
class SiteListPanel;
class SiteMenu;
class SitesTab;
class SubmissionRecorder;

// One run of the program: the window, the panels that give its controls their
// behaviour, and the start-up and close sequences. main() and the tests build
// it the same way; only the platform services differ.
class Session
{
public:
    struct Platform
    {
        Dialogs &dialogs;
        Browser &browser;
        KeyState &keys;
        SettingsStore &settings;
        // Opened by openStoreLater(), or open already; when it is not, the
        // window shows the built-in site list.
        CampaignStore &store;
        // Where the help page file may be written, first choice first; empty
        // means the program's folder, then the per-user runtime folder.
        QStringList helpPageFolders = {};
    };

    explicit Session(Platform platform);
    ~Session();

    MainWindow &window() { return *m_window; }
    Lifecycle &lifecycle() { return *m_lifecycle; }
    ProfilesPanel &profiles() { return *m_profiles; }
    BrowserPanel &browserPanel() { return *m_browserPanel; }
    FillingPanel &filling() { return *m_filling; }
    NavHover &navHover() { return *m_navHover; }
    CampaignPanel &campaign() { return *m_campaign; }
    SiteListPanel &siteList() { return *m_siteList; }
    SiteMenu &siteMenu() { return *m_siteMenu; }
    SitesTab &sitesTab() { return *m_sitesTab; }

    // The start-up sequence; show the window afterwards.
    void startUp();
    using StoreOpener = std::function<CampaignStore::OpenOutcome(CampaignStore &store)>;
    // Once the window is shown: opens the store when the browser's first page
    // has loaded (at the latest a moment later), so reading a long campaign
    // holds up neither the window nor the help page; then fills the list and
    // tells a problem once.
    void openStoreLater(StoreOpener open);

private:
    void buildCampaign();
    void buildSitesTab();
    void openStore(const StoreOpener &open);
    // Why the store did not open, where its file is and where a damaged one
    // was kept.
    void tellStoreProblem(const QString &message);

    Platform m_platform;
    std::unique_ptr<MainWindow> m_window;
    // The panels are owned by the window.
    ProfilesPanel *m_profiles = nullptr;
    PadCheckPanel *m_padCheck = nullptr;
    BrowserPanel *m_browserPanel = nullptr;
    FillingPanel *m_filling = nullptr;
    NavHover *m_navHover = nullptr;
    CampaignPanel *m_campaign = nullptr;
    SiteListPanel *m_siteList = nullptr;
    SiteMenu *m_siteMenu = nullptr;
    SubmissionRecorder *m_submissions = nullptr;
    SitesTab *m_sitesTab = nullptr;
    std::unique_ptr<Lifecycle> m_lifecycle;
};

} // namespace tarvelo
