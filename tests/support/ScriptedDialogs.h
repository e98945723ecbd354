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
    std::optional<SiteEntry> editSite(QWidget *, const QString &title,
                                      const SiteEntry &entry) override
    {
        siteEditTitles.append(title);
        siteEditsShown.append(entry);
        if (siteEdits.isEmpty())
            return std::nullopt;
        return siteEdits.dequeue();
    }
    std::optional<QString> askText(QWidget *, const QString &, const QString &label,
                                   const QString &) override
    {
        textLabels.append(label);
        if (texts.isEmpty())
            return std::nullopt;
        return texts.dequeue();
    }
    QString openSiteList(QWidget *) override
    {
        return siteListsToOpen.isEmpty() ? QString() : siteListsToOpen.dequeue();
    }
    QString saveSiteList(QWidget *) override
    {
        return siteListsToSave.isEmpty() ? QString() : siteListsToSave.dequeue();
    }

    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> padFiles; // the file dialog's answers; cancel when empty
    QList<Message> messages;
    // Answers of the site dialog (cancel when empty) and what it was shown.
    QQueue<std::optional<SiteEntry>> siteEdits;
    QStringList siteEditTitles;
    QList<SiteEntry> siteEditsShown;
    // Answers of the one-line question (cancel when empty) and its labels.
    QQueue<std::optional<QString>> texts;
    QStringList textLabels;
    QQueue<QString> siteListsToOpen;
    QQueue<QString> siteListsToSave;
    std::function<void(const Message &)> onMessage;
};

} // namespace tarvelo
