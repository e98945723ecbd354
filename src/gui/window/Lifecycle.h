#pragma once

#include "core/settings/SettingsStore.h"

#include <QString>

#include <functional>

namespace tarvelo {

class Dialogs;
class MainWindow;

// The window's start-up and close sequences, and the settings they keep.
class Lifecycle
{
public:
    // What the other folders contribute to the two sequences.
    struct Steps
    {
        std::function<void()> pressHome;          // shows the help page
        std::function<void()> showNormalPictures; // navigation buttons' pictures
        std::function<bool(int)> loadPad;         // reads a profile's PAD file
        std::function<void()> removeHelpPage;     // deletes the help page file
    };

    // The property of a profile's PAD URL box that holds the PAD URL as the
    // profile's last load gave it; a box text that differs from it is the
    // user's and is remembered.
    static constexpr const char *PadUrlFromFile = "padUrlFromFile";

    Lifecycle(MainWindow &window, Dialogs &dialogs, SettingsStore &settings, Steps steps);

    // Runs before the window is first shown; puts the window where it stood
    // when it was last closed.
    void startUp();
    // Asked when the window is about to close; false keeps it open.
    bool confirmClose();

    // Puts the remembered paths into their boxes and gives what else was
    // remembered.
    SettingsStore::Settings loadSettings();
    // Stores the paths, the corrected PAD URLs, the current profile and the
    // window's size, position and maximised state; a
    // failure is reported and may be retried.
    // Returns false only when the user chose to keep the window open.
    bool saveSettings();

private:
    void checkProfileFile(int profile);
    void pickRememberedProfile(int profile);

    MainWindow &m_window;
    Dialogs &m_dialogs;
    SettingsStore &m_settings;
    Steps m_steps;
};

} // namespace tarvelo
