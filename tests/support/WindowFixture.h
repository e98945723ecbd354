#pragma once

#include "FakeBrowser.h"
#include "ScriptedDialogs.h"
#include "ScriptedKeyState.h"
#include "app/Session.h"
#include "core/browser/SiteDirectory.h"
#include "core/campaign/CampaignStore.h"
#include "core/settings/SettingsStore.h"
#include "gui/sites/CampaignPanel.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace tarvelo {

// The whole window as a run builds it, with scripted dialogs, a settings file,
// a campaign store and a help page folder of its own, and the browser and key
// state given (by default a FakeBrowser and a scripted key state). The store
// opens as in a run, after the browser's first page has loaded.
class WindowFixture
{
public:
    // Opens the store at storePath once the window's first page has loaded;
    // by default with the built-in addresses, as a run does.
    using OpenStore =
        std::function<CampaignStore::OpenOutcome(CampaignStore &store, const QString &storePath)>;
    static CampaignStore::OpenOutcome openBuiltIn(CampaignStore &store, const QString &path)
    {
        return store.open(path, SiteDirectory::load());
    }

    enum class Store { Opened, Opening };

    // With Store::Opened the browser's first page counts as loaded at once and
    // the store is open when this returns; with Store::Opening it waits for
    // firstPageLoaded() (or the real browser's first load).
    explicit WindowFixture(Browser *browser = nullptr, KeyState *keyState = nullptr,
                           const OpenStore &openStore = openBuiltIn, Store start = Store::Opened)
        : m_browser(browser ? browser : &fakeBrowser)
    {
        const QStringList helpFolders{dir.path()};
        session = std::make_unique<Session>(Session::Platform{
            dialogs, *m_browser, keyState ? *keyState : keys, settings, store, helpFolders});
        session->openStoreLater([this, openStore](CampaignStore &campaign) {
            ++openings;
            windowShownAtOpening = window().isVisible();
            return opened = openStore(campaign, storePath);
        });
        if (start == Store::Opened) {
            firstPageLoaded();
            if (!storeOpened())
                qFatal("the campaign store did not open");
        }
    }

    // As the browser ending its first load.
    void firstPageLoaded() { Q_EMIT m_browser->downloadComplete(); }
    // Waits until the store's opening is over, open or not.
    bool storeOpened()
    {
        return QTest::qWaitFor([this] { return !session->campaign().storeOpening(); });
    }

    MainWindow &window() { return session->window(); }
    // A control by its objectName: "txtLocalPAD_0", "cmdProgName", "lblStatus"...
    template <class T = QWidget> T *control(const QString &name)
    {
        T *found = window().findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    bool showActive()
    {
        window().show();
        QApplication::setActiveWindow(&window());
        return QTest::qWaitForWindowActive(&window());
    }

    QTemporaryDir dir;
    QString settingsFile = dir.filePath(QStringLiteral("Tarvelo.conf"));
    SettingsStore settings{settingsFile};
    QString storePath = dir.filePath(QStringLiteral("campaign.sqlite"));
    CampaignStore store;
    CampaignStore::OpenOutcome opened;
    int openings = 0;
    bool windowShownAtOpening = false;
    ScriptedDialogs dialogs;
    ScriptedKeyState keys;
    FakeBrowser fakeBrowser;
    std::unique_ptr<Session> session; // goes first, before what it was given

private:
    Browser *m_browser;
};

} // namespace tarvelo
