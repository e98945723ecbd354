#include "gui/window/QtDialogs.h"

namespace tarvelo {

QMessageBox::StandardButton QtDialogs::messageBox(QWidget *owner, const QString &text,
                                                  const QString &title, QMessageBox::Icon icon,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, owner);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace tarvelo
