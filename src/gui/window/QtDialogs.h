#pragma once

#include "gui/window/Dialogs.h"

namespace tarvelo {

// The real dialogs: Qt's modal message box and file dialog.
class QtDialogs : public Dialogs
{
public:
    QMessageBox::StandardButton messageBox(QWidget *owner, const QString &text,
                                           const QString &title, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString openPadFile(QWidget *owner) override;
};

} // namespace tarvelo
