#pragma once

#include "FakeBrowser.h"
#include "ScriptedDialogs.h"
#include "gui/window/Lifecycle.h"
#include "app/Session.h"
#include "core/settings/SettingsStore.h"
#include "core/filling/KeyState.h"
#include "gui/window/MainWindow.h"

#include <QHash>
#include <QTemporaryDir>

#include <memory>

namespace tarvelo {

// Key state scripted by a test: values by key; a reading clears bit 0.
class ScriptedKeyState : public KeyState
{
public:
    std::uint16_t asyncKeyState(int virtualKey) override
    {
        readings.append(virtualKey);
        const std::uint16_t value = keys.value(virtualKey, 0);
        keys[virtualKey] = value & 0x8000;
        return value;
    }
    bool hasActiveWindow() const override { return activeWindow; }

    QHash<int, std::uint16_t> keys;
    QList<int> readings;
    bool activeWindow = true;
};

// The whole window as a run builds it, with scripted dialogs, key state and a
// settings file in a folder of its own. Browser is FakeBrowser unless given.
class WindowFixture
{
public:
    explicit WindowFixture(Browser *browser = nullptr);
    ~WindowFixture();

    QString settingsFile() const { return dir.filePath(QStringLiteral("Tarvelo.conf")); }
    QString makeFile(const QString &name, const QByteArray &content);
    void storePaths(const SettingsStore::Paths &paths);

    MainWindow &window() { return session->window(); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ScriptedKeyState keys;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Browser> ownedBrowser;
    Browser *browser = nullptr;
    std::unique_ptr<Session> session;
};

} // namespace tarvelo
