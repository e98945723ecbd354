#pragma once

#include <QString>

#include <functional>

namespace tarvelo {

class Dialogs;
class MainWindow;
class SettingsStore;

// The window's start-up and close sequences, and the settings they keep.
class Lifecycle
{
public:
    // What the other folders contribute to the two sequences.
    struct Steps
    {
        std::function<void()> pressHome;           // shows the help page
        std::function<void()> showNormalPictures;  // navigation buttons' pictures
        std::function<bool(int)> loadPad;          // reads a profile's PAD file
        std::function<void()> removeHelpPage;      // deletes the help page file
    };

    Lifecycle(MainWindow &window, Dialogs &dialogs, SettingsStore &settings, Steps steps);

    // Runs before the window is first shown.
    void startUp();
    // Asked when the window is about to close; false keeps it open.
    bool confirmClose();

    void loadSettings();
    // Stores the three paths; a failure is reported and may be retried.
    // Returns false only when the user chose to keep the window open.
    bool saveSettings();

private:
    void checkProfileFile(int profile);

    MainWindow &m_window;
    Dialogs &m_dialogs;
    SettingsStore &m_settings;
    Steps m_steps;
};

} // namespace tarvelo
