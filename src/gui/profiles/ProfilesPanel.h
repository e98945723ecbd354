#pragma once

#include <QObject>
#include <QString>

namespace tarvelo {

class Dialogs;
class MainWindow;

// Reading PAD files into profiles: loadPad, choosing a profile's file with its
// "Local PAD" label, and the long description's character counter.
class ProfilesPanel : public QObject
{
    Q_OBJECT
public:
    ProfilesPanel(MainWindow &window, Dialogs &dialogs);

    // Reads the file named in the profile's local PAD box into the profile. On
    // failure returns false and leaves every field and padText() as they were.
    bool loadPad(int profile);

    // The "Local PAD" label's click: asks for a file and loads it.
    void choosePadFile(int profile);

    // The decoded text of the PAD file read last.
    QString padText() const { return m_padText; }

signals:
    // After each load attempt, whether it succeeded or not.
    void profileLoaded(int profile);

private:
    void countLongDescription(int profile);

    MainWindow &m_window;
    Dialogs &m_dialogs;
    QString m_padText;
};

} // namespace tarvelo
