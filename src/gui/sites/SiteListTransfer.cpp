#include "gui/sites/SiteListTransfer.h"

#include "gui/window/Dialogs.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QString counted(qsizetype n, const QString &one, const QString &many)
{
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace

SiteListTransfer::SiteListTransfer(CampaignStore &store, Dialogs &dialogs, QWidget *owner)
    : m_store(store), m_dialogs(dialogs), m_owner(owner)
{
}

QString SiteListTransfer::problemList(const QList<SiteListProblem> &problems, int shown)
{
    QStringList lines;
    for (const SiteListProblem &problem : problems) {
        if (lines.size() == shown)
            break;
        lines << (problem.line > 0 ? u"Line %1: %2"_s.arg(problem.line).arg(problem.reason)
                                   : problem.reason);
    }
    if (problems.size() > shown)
        lines << u"and %1 more"_s.arg(problems.size() - shown);
    return lines.join(u'\n');
}

int SiteListTransfer::importList()
{
    const QString path = m_dialogs.openSiteList(m_owner);
    if (path.isEmpty())
        return 0;
    const QString file = QFileInfo(path).fileName();
    const SiteListFile::Import read = SiteListFile::read(path);
    if (read.entries.isEmpty()) {
        tell(u"Import sites"_s,
             read.problems.isEmpty()
                 ? u"%1 holds no site addresses."_s.arg(file)
                 : u"Nothing was imported from %1:\n\n%2"_s.arg(file, problemList(read.problems)),
             !read.problems.isEmpty());
        return 0;
    }
    if (!read.problems.isEmpty() && !askForGoodLines(file, read))
        return 0;
    const auto outcome = m_store.addSites(read.entries);
    if (!outcome) {
        tell(u"Import sites"_s,
             u"Nothing was imported from %1: %2"_s.arg(file, m_store.lastError()), true);
        return 0;
    }
    tell(u"Import sites"_s,
         u"Added %1; %2 in the list already."_s.arg(
             counted(outcome->added, u"site"_s, u"sites"_s),
             counted(outcome->alreadyThere, u"was"_s, u"were"_s)),
         false);
    return outcome->added;
}

bool SiteListTransfer::askForGoodLines(const QString &file, const SiteListFile::Import &read)
{
    const QString text =
        u"%1 of %2 cannot be imported:\n\n%3\n\nImport the %4 and leave the others out?"_s.arg(
            counted(read.problems.size(), u"line"_s, u"lines"_s), file, problemList(read.problems),
            counted(read.entries.size(), u"good line"_s, u"good lines"_s));
    return m_dialogs.messageBox(m_owner, text, u"Import sites"_s, QMessageBox::Warning,
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

QString SiteListTransfer::exportList()
{
    const QString path = m_dialogs.saveSiteList(m_owner);
    if (path.isEmpty())
        return {};
    QList<SiteEntry> entries;
    for (const SiteRecord &site : m_store.sites())
        entries.append({site.address, site.name, site.note});
    QString error;
    if (!SiteListFile::write(path, entries, &error)) {
        tell(u"Export sites"_s, u"The sites could not be written to %1: %2"_s.arg(path, error),
             true);
        return {};
    }
    return u"Exported %1 to %2"_s.arg(counted(entries.size(), u"site"_s, u"sites"_s), path);
}

void SiteListTransfer::tell(const QString &title, const QString &text, bool problem)
{
    m_dialogs.messageBox(m_owner, text, title,
                         problem ? QMessageBox::Warning : QMessageBox::Information, QMessageBox::Ok,
                         QMessageBox::Ok);
}

} // namespace tarvelo
