#pragma once

#include <QMessageBox>
#include <QString>

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
};

} // namespace tarvelo
