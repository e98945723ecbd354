#include "app/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>


namespace tarvelo {

namespace {
const QString Organisation = QStringLiteral("Tarvelo");
const QString Application = QStringLiteral("Tarvelo");
const QString Group = QStringLiteral("Settings");
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
    QSettings settings(m_filePath, QSettings::NativeFormat);
    // A damaged file is rewritten from scratch rather than refused.
    if (settings.status() == QSettings::FormatError)
        settings.clear();
    settings.beginGroup(Group);
    for (int i = 0; i < int(paths.size()); ++i)
        settings.setValue(keyName(i), paths[i]);
    settings.endGroup();
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (errorText) {
        *errorText = settings.status() == QSettings::AccessError
                         ? QStringLiteral("The file cannot be written (no permission, or the disk is full).")
                         : QStringLiteral("The file is damaged and could not be replaced.");
    }
    return false;
}

} // namespace tarvelo
