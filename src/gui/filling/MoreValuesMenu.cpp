#include "gui/filling/MoreValuesMenu.h"

#include "core/browser/FormFill.h"
#include "core/profiles/ExtraValue.h"
#include "gui/profiles/ProfilesPanel.h"
#include "gui/window/MainWindow.h"

#include <QMenu>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

struct MoreEntry
{
    ExtraValue value;
    const char16_t *name;
    const char16_t *caption;
    const char16_t *what; // for the status line when the file has none
};

constexpr MoreEntry moreEntries[] = {
    {ExtraValue::Desc80, u"mnuDesc80", u"&1   Description, 80 Characters",
     u"80-character description"},
    {ExtraValue::Desc250, u"mnuDesc250", u"&2   Description, 250 Characters",
     u"250-character description"},
    {ExtraValue::Desc2000, u"mnuDesc2000", u"&3   Description, 2000 Characters",
     u"2000-character description"},
    {ExtraValue::AuthorFullName, u"mnuAuthorFullName", u"&4   Author's Full Name",
     u"author's full name"},
    {ExtraValue::FileSizeBytes, u"mnuFileSizeBytes", u"&5   File Size in Bytes",
     u"file size in bytes"},
    {ExtraValue::FileSizeKB, u"mnuFileSizeKB", u"&6   File Size in KB", u"file size in KB"},
    {ExtraValue::FileSizeMB, u"mnuFileSizeMB", u"&7   File Size in MB", u"file size in MB"},
};

} // namespace

void MoreValuesMenu::addTo(QMenu *menu, MainWindow &window, const Paste &paste)
{
    menu->addSeparator()->setObjectName(u"mnuSep5"_s);
    QMenu *more = menu->addMenu(u"&More"_s);
    more->setObjectName(u"mnuMore"_s);
    more->menuAction()->setObjectName(u"mnuMore"_s);
    for (const MoreEntry &entry : moreEntries) {
        QAction *action = more->addAction(QString::fromUtf16(entry.caption));
        action->setObjectName(QString::fromUtf16(entry.name));
        QObject::connect(action, &QAction::triggered, more, [&window, paste, entry] {
            const ProfilesPanel *profiles = ProfilesPanel::of(window);
            const QString text =
                profiles ? profiles->extraValue(window.currentProfile(), entry.value) : QString();
            paste(text, QString::fromUtf16(entry.what), FormFill::valueName(entry.value));
        });
    }
}

} // namespace tarvelo
