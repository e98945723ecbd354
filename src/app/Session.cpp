#include "app/Session.h"

#include "gui/browser/Browser.h"
#include "gui/browser/BrowserPanel.h"
#include "gui/filling/FillingPanel.h"
#include "gui/filling/NavHover.h"
#include "gui/profiles/PadCheckPanel.h"
#include "gui/profiles/ProfilesPanel.h"
#include "gui/sites/CampaignPanel.h"
#include "gui/sites/SiteListPanel.h"
#include "gui/sites/SiteMenu.h"
#include "gui/sites/SitesTab.h"
#include "gui/sites/SubmissionRecorder.h"
#include "gui/window/Accessibility.h"
#include "gui/window/Dialogs.h"
#include "gui/window/Lifecycle.h"
#include "gui/window/MainWindow.h"

#include <QTimer>

namespace tarvelo {

namespace {

// When no first page ends its load (no help page, say), the store opens
// this long after the window was shown.
constexpr int LatestStoreOpeningMs = 1000;

} // namespace

Session::Session(Platform platform)
    : m_platform(platform), m_window(std::make_unique<MainWindow>(platform.browser.widget()))
{
    m_profiles = new ProfilesPanel(*m_window, m_platform.dialogs);
    m_padCheck = new PadCheckPanel(*m_window);
    QObject::connect(m_profiles, &ProfilesPanel::profileLoaded, m_padCheck,
                     &PadCheckPanel::checkProfile);
    const auto tellUser = [this](const QString &message) {
        m_platform.dialogs.messageBox(m_window.get(), message, QStringLiteral("Tarvelo"),
                                      QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
    };
    m_browserPanel =
        new BrowserPanel(*m_window, m_platform.browser, tellUser,
                         platform.helpPageFolders.isEmpty()
                             ? HelpPage()
                             : HelpPage(HelpPage::resourcePath(), platform.helpPageFolders));

    m_filling = new FillingPanel(*m_window, m_platform.browser, m_platform.keys, m_window.get());
    m_navHover = new NavHover(*m_window);
    buildCampaign();

    Lifecycle::Steps steps;
    steps.pressHome = [this] { m_browserPanel->home(); };
    steps.showNormalPictures = [this] { m_navHover->showNormalPictures(); };
    steps.loadPad = [this](int index) { return m_profiles->loadPad(index); };
    steps.removeHelpPage = [this] { m_browserPanel->removeHelpPage(); };
    m_lifecycle = std::make_unique<Lifecycle>(*m_window, m_platform.dialogs, m_platform.settings,
                                              std::move(steps));
    Accessibility::apply(*m_window);
}

void Session::buildCampaign()
{
    m_campaign = new CampaignPanel(*m_window, m_platform.store, m_window.get());
    m_siteList = new SiteListPanel(*m_window, *m_campaign, m_platform.browser);
    m_siteMenu = new SiteMenu(*m_window, *m_campaign, *m_siteList, m_platform.dialogs);
    // After the browser panel: its "Done" comes first, the note over it.
    m_submissions = new SubmissionRecorder(*m_window, *m_campaign, *m_siteList, m_platform.browser);
    QObject::connect(m_filling, &FillingPanel::nextSiteWanted, m_siteList,
                     &SiteListPanel::openNextSite);
    QObject::connect(m_browserPanel, &BrowserPanel::siteOpened, m_siteList,
                     &SiteListPanel::noteOpened);
    const auto teachBoxes = [this] {
        if (m_platform.store.isOpen())
            m_filling->setCampaignStore(&m_platform.store); // pastes teach the form's boxes
    };
    QObject::connect(m_campaign, &CampaignPanel::storeOpened, m_filling, teachBoxes);
    teachBoxes();
    buildSitesTab();
}

void Session::buildSitesTab()
{
    m_sitesTab = new SitesTab(m_platform.store, m_platform.dialogs);
    m_window->setSitesTab(m_sitesTab);
    // The tab and the list show the same store: a change on one side is read
    // again by the other.
    QObject::connect(m_sitesTab, &SitesTab::sitesChanged, m_campaign, &CampaignPanel::reloadSites);
    QObject::connect(m_sitesTab, &SitesTab::statesChanged, m_campaign,
                     &CampaignPanel::reloadStates);
    QObject::connect(m_campaign, &CampaignPanel::sitesChanged, m_sitesTab, &SitesTab::refresh);
    QObject::connect(m_campaign, &CampaignPanel::statesChanged, m_sitesTab, [this] {
        m_sitesTab->setProgram(m_campaign->statesProgramId(), m_campaign->currentVersion());
    });
}

Session::~Session()
{
    // The browser outlives the window, and the window's teardown moves the
    // focus out of it: its signals must not reach panels whose window is half
    // destroyed already.
    m_platform.browser.disconnect(m_browserPanel);
    m_platform.browser.disconnect(m_filling);
    m_platform.browser.disconnect(m_submissions);
}

void Session::startUp()
{
    m_lifecycle->startUp();
    m_padCheck->checkAll();     // also the profiles whose file was not loaded
    m_campaign->reloadStates(); // the program of the profiles just loaded
}

void Session::openStoreLater(StoreOpener open)
{
    m_campaign->awaitStore();
    auto *latest = new QTimer(m_campaign);
    latest->setSingleShot(true);
    const auto openOnce = [this, latest, open = std::move(open)] {
        if (!m_campaign->storeOpening())
            return;            // opened already
        latest->deleteLater(); // and with it both connections
        openStore(open);
    };
    // Queued: the page's own "loaded" reaches everyone else first.
    QObject::connect(&m_platform.browser, &Browser::downloadComplete, latest, openOnce,
                     Qt::QueuedConnection);
    QObject::connect(latest, &QTimer::timeout, latest, openOnce);
    latest->start(LatestStoreOpeningMs);
}

void Session::openStore(const StoreOpener &open)
{
    const CampaignStore::OpenOutcome opened = open(m_platform.store);
    m_campaign->takeStore();
    if (!opened.ok)
        tellStoreProblem(opened.message);
}

void Session::tellStoreProblem(const QString &message)
{
    const QString text =
        message + QStringLiteral("\n\nTarvelo goes on with its built-in list of sites; "
                                 "the states of your sites are not kept this time.");
    m_platform.dialogs.messageBox(m_window.get(), text, QStringLiteral("Tarvelo"),
                                  QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace tarvelo
