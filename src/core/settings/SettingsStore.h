#pragma once

#include <QString>

#include <array>

namespace tarvelo {

// The three remembered local PAD paths, in the per-user settings file
// (organisation and application "Tarvelo", group "Settings").
class SettingsStore
{
public:
    using Paths = std::array<QString, 3>;

    // The platform's place: $XDG_CONFIG_HOME/Tarvelo/Tarvelo.conf on Linux.
    SettingsStore();
    // An explicit file, for tests and tools.
    explicit SettingsStore(const QString &filePath);

    QString fileName() const;

    // Absent keys, and a file that cannot be read or parsed, give empty paths.
    Paths loadPaths() const;

    // Writes the three keys and flushes them to disk. On failure returns false
    // and says why in errorText; the caller keeps the paths.
    bool savePaths(const Paths &paths, QString *errorText = nullptr) const;

    static QString keyName(int profile);

private:
    QString m_filePath;
};

} // namespace tarvelo
