#pragma once

#include <memory>

namespace tarvelo {

class Browser;
class Dialogs;
class FrmMain;
class KeyState;
class Lifecycle;
class SettingsStore;

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
    };

    explicit Session(Platform platform);
    ~Session();

    FrmMain &window() { return *m_window; }
    Lifecycle &lifecycle() { return *m_lifecycle; }

    // The start-up sequence; show the window afterwards.
    void startUp();

private:
    Platform m_platform;
    std::unique_ptr<FrmMain> m_window;
    std::unique_ptr<Lifecycle> m_lifecycle;
};

} // namespace tarvelo
