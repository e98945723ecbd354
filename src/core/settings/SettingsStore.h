#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace tarvelo {

// What a run remembers for the next, in the per-user settings file
// (organisation and application "Tarvelo", group "Settings"): the three local
// PAD paths, the PAD URLs the user corrected, the current program and where
// the window stood.
class SettingsStore
{
public:
    using Paths = std::array<QString, 3>;

    struct Settings
    {
        Paths paths = {};
        // Per profile, a PAD URL the user made differ from the file's own;
        // none where the file's own stands.
        std::array<std::optional<QString>, 3> padUrls = {};
        int currentProfile = 0;
        // The window's size, position and maximised state, as the window
        // gives them; empty when none is remembered.
        QByteArray windowGeometry = {};
    };

    // The platform's place: $XDG_CONFIG_HOME/Tarvelo/Tarvelo.conf on Linux.
    SettingsStore();
    // An explicit file, for tests and tools.
    explicit SettingsStore(const QString &filePath);

    QString fileName() const;

    // Absent keys, and a file that cannot be read or parsed, give empty paths,
    // no PAD URLs, profile 0 and no window geometry.
    Settings load() const;

    // Writes every key and flushes them to disk. On failure returns false and
    // says why in errorText; the caller keeps the values.
    bool save(const Settings &settings, QString *errorText = nullptr) const;

    static QString keyName(int profile);

private:
    QString m_filePath;
};

} // namespace tarvelo
