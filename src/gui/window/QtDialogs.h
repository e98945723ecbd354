#pragma once

#include "gui/window/Dialogs.h"

#include <functional>

namespace tarvelo {

// The real dialogs: Qt's modal message box, input and file dialogs, the
// site dialog, and the PAD file dialog the composition hands in (it belongs
// to the PAD Files page).
class QtDialogs : public Dialogs
{
public:
    // Shows the PAD file-open dialog over owner: the chosen path, or empty text.
    using PadFileChooser = std::function<QString(QWidget *owner)>;

    explicit QtDialogs(PadFileChooser choosePadFile) : m_choosePadFile(std::move(choosePadFile)) {}

    QMessageBox::StandardButton messageBox(QWidget *owner, const QString &text,
                                           const QString &title, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString openPadFile(QWidget *owner) override { return m_choosePadFile(owner); }
    std::optional<SiteEntry> editSite(QWidget *owner, const QString &title,
                                      const SiteEntry &entry) override;
    std::optional<QString> askText(QWidget *owner, const QString &title, const QString &label,
                                   const QString &text) override;
    QString openSiteList(QWidget *owner) override;
    QString saveSiteList(QWidget *owner) override;

private:
    PadFileChooser m_choosePadFile;
};

} // namespace tarvelo
