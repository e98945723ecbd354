#include "core/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>


namespace tarvelo {

namespace {
const QString Organisation = QStringLiteral("Tarvelo");
const QString Application = QStringLiteral("Tarvelo");
const QString Group = QStringLiteral("Settings");

QSettings::Status writePaths(const QString &filePath, const SettingsStore::Paths &paths)
{
    QSettings settings(filePath, QSettings::NativeFormat);
    if (settings.status() == QSettings::FormatError)
        settings.clear();
    settings.beginGroup(Group);
    for (int i = 0; i < int(paths.size()); ++i)
        settings.setValue(SettingsStore::keyName(i), paths[i]);
    settings.endGroup();
    settings.sync();
    return settings.status();
}

} // namespace

SettingsStore::SettingsStore()
    : m_filePath(QSettings(QSettings::NativeFormat, QSettings::UserScope, Organisation,
                           Application)
                     .fileName())
{
}

SettingsStore::SettingsStore(const QString &filePath) : m_filePath(filePath) {}

QString SettingsStore::fileName() const
{
    return m_filePath;
}

QString SettingsStore::keyName(int profile)
{
    return QStringLiteral("txtLocalPAD") + QString::number(profile);
}

SettingsStore::Paths SettingsStore::loadPaths() const
{
    QSettings settings(m_filePath, QSettings::NativeFormat);
    Paths paths;
    if (settings.status() != QSettings::NoError)
        return paths;
    settings.beginGroup(Group);
    for (int i = 0; i < int(paths.size()); ++i) {
        const QVariant value = settings.value(keyName(i));
        // Only text counts; anything else a damaged file holds reads as empty.
        if (value.typeId() == QMetaType::QString)
            paths[i] = value.toString();
    }
    return paths;
}

bool SettingsStore::savePaths(const Paths &paths, QString *errorText) const
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        if (errorText)
            *errorText = QStringLiteral("The folder %1 cannot be created.").arg(info.absolutePath());
        return false;
    }
    // A damaged file is replaced rather than refused. QSettings goes on
    // reporting the damage it read even when its write went through, and then
    // hides a write that failed behind it: a second write tells which it was.
    QSettings::Status status = writePaths(m_filePath, paths);
    if (status == QSettings::FormatError)
        status = writePaths(m_filePath, paths);
    if (status == QSettings::NoError)
        return true;
    if (errorText) {
        *errorText =
            status == QSettings::AccessError
                ? QStringLiteral("The file cannot be written (no permission, or the disk is full).")
                : QStringLiteral("The file is damaged and could not be replaced.");
    }
    return false;
}

} // namespace tarvelo
