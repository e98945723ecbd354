#pragma once

#include "core/profiles/ExtraValue.h"
#include "core/profiles/PadReader.h"
#include "core/profiles/ProfileFields.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace tarvelo {

class Dialogs;
class MainWindow;

// Reading PAD files into profiles: a profile shows the file its local PAD box
// names, chosen with its "Local PAD" label or typed into the box; the language
// its descriptions are in; the long description's character counter; and the
// current program's name on the main page.
class ProfilesPanel : public QObject
{
    Q_OBJECT
public:
    ProfilesPanel(MainWindow &window, Dialogs &dialogs);

    // The panel of the window, nullptr when the window has none.
    static ProfilesPanel *of(const MainWindow &window);

    // Reads the file named in the profile's local PAD box into the profile. On
    // failure returns false and leaves every field and padText() as they were.
    bool loadPad(int profile);

    // Shows the file the profile's local PAD box names now: a file that
    // cannot be read empties the profile's fields and is reported, an empty
    // path empties them silently.
    void showNamedFile(int profile);

    // The "Local PAD" label's click: asks for a file and shows it; cancel
    // changes nothing.
    void choosePadFile(int profile);

    // The decoded text of the PAD file read last.
    QString padText() const { return m_padText; }

    // A value of the profile's file beyond its fields, in the profile's
    // language; empty when the profile shows no file.
    QString extraValue(int profile, ExtraValue extra) const;

    // The profile's language; choosing another shows its keywords and
    // descriptions at once.
    QString language(int profile) const { return m_languages[profile]; }
    void setLanguage(int profile, const QString &language);

Q_SIGNALS:
    // After every attempt to load the profile's file, whether it was read or not.
    void profileLoaded(int profile);

private:
    bool readPad(int profile);
    void showPad(int profile);
    void showLanguageValues(int profile);
    void showLanguages(int profile);
    void showCurrentProgram();
    void countLongDescription(int profile);
    void onPathEdited(int profile);

    MainWindow &m_window;
    Dialogs &m_dialogs;
    QString m_padText;
    std::array<std::optional<PadReader::Pad>, ProfileCount> m_pads;
    std::array<QString, ProfileCount> m_languages;
};

} // namespace tarvelo
