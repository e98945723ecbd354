#pragma once

#include <QObject>

namespace tarvelo {

class Dialogs;
class MainWindow;

// Reading PAD files into profiles: LoadPad, choosing a profile's file with its
// "Local PAD" label, and the long description's character counter.
class ProfilesPanel : public QObject
{
    Q_OBJECT
public:
    ProfilesPanel(MainWindow &window, Dialogs &dialogs);

    // Reads txtLocalPAD(index)'s file into profile index. On failure returns
    // false and leaves every field and padText as they were.
    bool LoadPad(int index);

    void lblLocalPad_Click(int index);

private:
    void txtLongDesc_Change(int index);

    MainWindow &m_window;
    Dialogs &m_dialogs;
};

} // namespace tarvelo
