#pragma once

#include "gui/window/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace tarvelo {

// Answers message boxes from a queue (its default button when empty) and
// records what was asked, so a test never blocks on a dialog.
class ScriptedDialogs : public Dialogs
{
public:
    struct Message
    {
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    QMessageBox::StandardButton messageBox(QWidget *, const QString &text, const QString &,
                                           QMessageBox::Icon, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override
    {
        messages.append({text, buttons, defaultButton});
        if (onMessage) // while the box is "open"
            onMessage(messages.last());
        return answers.isEmpty() ? defaultButton : answers.dequeue();
    }
    QString openPadFile(QWidget *) override
    {
        return padFiles.isEmpty() ? QString() : padFiles.dequeue();
    }

    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> padFiles; // the file dialog's answers; cancel when empty
    QList<Message> messages;
    std::function<void(const Message &)> onMessage;
};

} // namespace tarvelo
