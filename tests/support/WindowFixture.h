#pragma once

#include "FakeBrowser.h"
#include "ScriptedDialogs.h"
#include "ScriptedKeyState.h"
#include "app/Session.h"
#include "core/browser/SiteDirectory.h"
#include "core/campaign/CampaignStore.h"
#include "core/settings/SettingsStore.h"
#include "gui/window/MainWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace tarvelo {

// The whole window as a run builds it, with scripted dialogs, a settings file,
// a campaign store and a help page folder of its own, and the browser and key
// state given (by default a FakeBrowser and a scripted key state).
class WindowFixture
{
public:
    // Opens the store at storePath before the window is built; by default
    // with the built-in addresses, as a run does.
    using OpenStore =
        std::function<CampaignStore::OpenOutcome(CampaignStore &store, const QString &storePath)>;
    static CampaignStore::OpenOutcome openBuiltIn(CampaignStore &store, const QString &path)
    {
        return store.open(path, SiteDirectory::load());
    }

    explicit WindowFixture(Browser *browser = nullptr, KeyState *keyState = nullptr,
                           const OpenStore &openStore = openBuiltIn)
    {
        opened = openStore(store, storePath);
        const QStringList helpFolders{dir.path()};
        session = std::make_unique<Session>(
            Session::Platform{dialogs, browser ? *browser : fakeBrowser,
                              keyState ? *keyState : keys, settings, store, helpFolders});
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
    ScriptedDialogs dialogs;
    ScriptedKeyState keys;
    FakeBrowser fakeBrowser;
    std::unique_ptr<Session> session; // goes first, before what it was given
};

} // namespace tarvelo
