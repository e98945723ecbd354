#pragma once

#include "gui/window/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace tarvelo {

// Answers modal dialogs from a script and records what was asked, so a test
// never blocks on a dialog. An unscripted message box answers its default button.
class ScriptedDialogs : public Dialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };

    QMessageBox::StandardButton messageBox(QWidget *owner, const QString &text,
                                           const QString &title, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    QString openPadFile(QWidget *owner) override;

    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> chosenFiles; // empty text stands for cancel
    QList<Message> messages;
    // Runs while a message box is "open", before it is answered.
    std::function<void(const Message &)> onMessage;
    int fileDialogsShown = 0;
};

} // namespace tarvelo
