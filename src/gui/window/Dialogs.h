#pragma once

#include "core/campaign/SiteEntry.h"

#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace tarvelo {

// Modal dialogs go through here so that tests can script the answers and no
// test ever waits on a dialog.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual QMessageBox::StandardButton messageBox(QWidget *owner, const QString &text,
                                                   const QString &title, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) = 0;

    // The chosen PAD file's full path, or empty text on cancel.
    virtual QString openPadFile(QWidget *owner) = 0;

    // Asks for a site's address, name and note, starting from entry; nothing
    // on cancel.
    virtual std::optional<SiteEntry> editSite(QWidget *owner, const QString &title,
                                              const SiteEntry &entry) = 0;

    // One line of text, e.g. a listing's address or a reason; nothing on cancel.
    virtual std::optional<QString> askText(QWidget *owner, const QString &title,
                                           const QString &label, const QString &text) = 0;

    // A site list file (.txt or .csv) to read, or to write; empty on cancel.
    virtual QString openSiteList(QWidget *owner) = 0;
    virtual QString saveSiteList(QWidget *owner) = 0;
};

} // namespace tarvelo
