#include "core/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tarvelo {

namespace {
const QString Organisation = QStringLiteral("Tarvelo");
const QString Application = QStringLiteral("Tarvelo");
const QString Group = QStringLiteral("Settings");
const QString CurrentProfileKey = QStringLiteral("CurrentProfile");
const QString WindowGeometryKey = QStringLiteral("WindowGeometry");

QString padUrlKey(int profile)
{
    return QStringLiteral("txtPADURL") + QString::number(profile);
}

// Only text counts; anything else a damaged file holds reads as absent.
std::optional<QString> readText(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

QByteArray readBytes(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

int readProfile(const QSettings &settings)
{
    bool ok = false;
    const int profile = readText(settings, CurrentProfileKey).value_or(QString()).toInt(&ok);
    return ok && profile >= 0 && profile < 3 ? profile : 0;
}

QSettings::Status write(const QString &filePath, const SettingsStore::Settings &values)
{
    QSettings settings(filePath, QSettings::NativeFormat);
    if (settings.status() == QSettings::FormatError)
        settings.clear();
    settings.beginGroup(Group);
    for (int i = 0; i < int(values.paths.size()); ++i) {
        settings.setValue(SettingsStore::keyName(i), values.paths[i]);
        if (values.padUrls[i])
            settings.setValue(padUrlKey(i), *values.padUrls[i]);
        else
            settings.remove(padUrlKey(i));
    }
    settings.setValue(CurrentProfileKey, QString::number(values.currentProfile));
    if (values.windowGeometry.isEmpty())
        settings.remove(WindowGeometryKey);
    else
        settings.setValue(WindowGeometryKey, values.windowGeometry);
    settings.endGroup();
    settings.sync();
    return settings.status();
}

} // namespace

SettingsStore::SettingsStore()
    : m_filePath(QSettings(QSettings::NativeFormat, QSettings::UserScope, Organisation, Application)
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

SettingsStore::Settings SettingsStore::load() const
{
    QSettings settings(m_filePath, QSettings::NativeFormat);
    Settings values;
    if (settings.status() != QSettings::NoError)
        return values;
    settings.beginGroup(Group);
    for (int i = 0; i < int(values.paths.size()); ++i) {
        values.paths[i] = readText(settings, keyName(i)).value_or(QString());
        values.padUrls[i] = readText(settings, padUrlKey(i));
    }
    values.currentProfile = readProfile(settings);
    values.windowGeometry = readBytes(settings, WindowGeometryKey);
    return values;
}

bool SettingsStore::save(const Settings &settings, QString *errorText) const
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        if (errorText)
            *errorText =
                QStringLiteral("The folder %1 cannot be created.").arg(info.absolutePath());
        return false;
    }
    // A damaged file is replaced rather than refused. QSettings goes on
    // reporting the damage it read even when its write went through, and then
    // hides a write that failed behind it: a second write tells which it was.
    QSettings::Status status = write(m_filePath, settings);
    if (status == QSettings::FormatError)
        status = write(m_filePath, settings);
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
