#include "ScriptedDialogs.h"

namespace tarvelo {

QMessageBox::StandardButton ScriptedDialogs::messageBox(QWidget *, const QString &text,
                                                        const QString &title,
                                                        QMessageBox::Icon icon,
                                                        QMessageBox::StandardButtons buttons,
                                                        QMessageBox::StandardButton defaultButton)
{
    messages.append({text, title, icon, buttons, defaultButton});
    if (onMessage)
        onMessage(messages.last());
    return answers.isEmpty() ? defaultButton : answers.dequeue();
}

QString ScriptedDialogs::openPadFile(QWidget *)
{
    ++fileDialogsShown;
    return chosenFiles.isEmpty() ? QString() : chosenFiles.dequeue();
}

} // namespace tarvelo
