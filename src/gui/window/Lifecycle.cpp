#include "gui/window/Lifecycle.h"

#include "core/settings/SettingsStore.h"
#include "gui/window/ClickableLabel.h"
#include "gui/window/Dialogs.h"
#include "gui/window/MainWindow.h"
#include "gui/window/WindowPlacement.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace tarvelo {

Lifecycle::Lifecycle(MainWindow &window, Dialogs &dialogs, SettingsStore &settings, Steps steps)
    : m_window(window), m_dialogs(dialogs), m_settings(settings), m_steps(std::move(steps))
{
    m_window.setCloseHandler([this] { return confirmClose(); });
    m_window.setSaveSettings([this] { saveSettings(); });
}

void Lifecycle::startUp()
{
    if (m_steps.pressHome)
        m_steps.pressHome();

    QLabel *status = m_window.statusLabel();
    status->setAutoFillBackground(true);
    QPalette p = status->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    status->setPalette(p);

    const SettingsStore::Settings remembered = loadSettings();
    WindowPlacement::restore(m_window, remembered.windowGeometry, MainWindow::defaultSize());

    if (m_steps.showNormalPictures)
        m_steps.showNormalPictures();

    for (int i = 0; i < ProfileCount; ++i) {
        checkProfileFile(i);
        if (remembered.padUrls[i])
            m_window.setFieldText(Field::PADURL, i, *remembered.padUrls[i]);
    }
    pickRememberedProfile(remembered.currentProfile);
}

void Lifecycle::pickRememberedProfile(int profile)
{
    m_window.setCurrentProfileTag(QString::number(profile));
    // As a click on its PAD URL label: the profile's panel comes to the top
    // and the labels say which Numpad 0 combination pastes which PAD URL.
    Q_EMIT m_window.padUrlLabel(profile)->clicked();
}

void Lifecycle::checkProfileFile(int profile)
{
    const QString path = m_window.localPadBox(profile)->text();
    const QFileInfo info(path);
    // Only a regular file has a length; anything else is reported like a missing file.
    if (!path.isEmpty() && info.isFile()) {
        if (info.size() != 0 && m_steps.loadPad)
            m_steps.loadPad(profile); // a failure leaves the profile as it was, silently
        return;
    }
    if (path.isEmpty())
        return;
    m_dialogs.messageBox(&m_window, QStringLiteral("Couldn't load Local PAD ") + path,
                         QStringLiteral("Error"), QMessageBox::Warning, QMessageBox::Ok,
                         QMessageBox::Ok);
}

bool Lifecycle::confirmClose()
{
    const auto answer = m_dialogs.messageBox(&m_window, QStringLiteral("Are you sure?"),
                                             QStringLiteral("Exit?"), QMessageBox::Question,
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    if (!saveSettings())
        return false;
    if (m_steps.removeHelpPage)
        m_steps.removeHelpPage();
    return true;
}

SettingsStore::Settings Lifecycle::loadSettings()
{
    const SettingsStore::Settings remembered = m_settings.load();
    for (int i = 0; i < ProfileCount; ++i)
        m_window.localPadBox(i)->setText(remembered.paths[i]);
    return remembered;
}

bool Lifecycle::saveSettings()
{
    SettingsStore::Settings settings;
    for (int i = 0; i < ProfileCount; ++i) {
        settings.paths[i] = m_window.localPadBox(i)->text();
        // Only a PAD URL the user changed: one the file gives comes from the
        // file again, and follows the file when its author changes it.
        const QWidget *padUrl = m_window.fieldBox(Field::PADURL, i);
        const QVariant fromFile = padUrl->property(PadUrlFromFile);
        if (fromFile.isValid() && fromFile.toString() != MainWindow::boxText(padUrl))
            settings.padUrls[i] = MainWindow::boxText(padUrl);
    }
    settings.currentProfile = m_window.currentProfile();
    settings.windowGeometry = m_window.saveGeometry();

    for (;;) {
        QString reason;
        if (m_settings.save(settings, &reason))
            return true;
        // The paths would be lost silently otherwise: say so and let the user
        // free space or fix permissions and try again.
        const auto answer = m_dialogs.messageBox(
            &m_window,
            QStringLiteral("Couldn't save the local PAD paths to %1.\n%2")
                .arg(m_settings.fileName(), reason),
            QStringLiteral("Error"), QMessageBox::Warning,
            QMessageBox::Retry | QMessageBox::Ignore | QMessageBox::Cancel, QMessageBox::Retry);
        if (answer == QMessageBox::Ignore)
            return true;
        if (answer != QMessageBox::Retry)
            return false;
    }
}

} // namespace tarvelo
