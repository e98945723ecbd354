#include "gui/sites/SiteMenu.h"

#include "gui/sites/CampaignPanel.h"
#include "gui/sites/SiteListPanel.h"
#include "gui/window/Dialogs.h"
#include "gui/window/MainWindow.h"

#include <QListWidget>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

struct StateEntry
{
    SiteState state;
    const char *name;
    const char *caption;
};

// The states a user sets; the ones with "..." ask a line of text first.
constexpr StateEntry stateEntries[] = {
    {SiteState::Todo, "mnuSiteTodo", "To &do"},
    {SiteState::Submitted, "mnuSiteSubmitted", "&Submitted"},
    {SiteState::AwaitingEmail, "mnuSiteAwaitingEmail", "Awaiting &e-mail"},
    {SiteState::Listed, "mnuSiteListed", "&Listed..."},
    {SiteState::Rejected, "mnuSiteRejected", "&Rejected..."},
    {SiteState::Skipped, "mnuSiteSkipped", "S&kipped..."},
};

} // namespace

SiteMenu::SiteMenu(MainWindow &window, CampaignPanel &campaign, SiteListPanel &list,
                   Dialogs &dialogs)
    : QObject(&window), m_window(window), m_campaign(campaign), m_list(list), m_dialogs(dialogs)
{
    build();
    QListWidget *sites = m_window.siteList();
    sites->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sites, &QListWidget::customContextMenuRequested, this, &SiteMenu::showAt);
}

void SiteMenu::build()
{
    m_menu = new QMenu(u"Sites"_s, m_window.siteList());
    m_menu->setObjectName(u"mnuSites"_s);
    for (const StateEntry &entry : stateEntries) {
        QAction *action = m_menu->addAction(tr(entry.caption));
        action->setObjectName(QString::fromLatin1(entry.name));
        const SiteState state = entry.state;
        connect(action, &QAction::triggered, this, [this, state] { setState(state); });
        m_stateActions.append(action);
    }
    m_menu->addSeparator();
    m_dead = m_menu->addAction(tr("Dea&d"));
    m_dead->setObjectName(u"mnuSiteDead"_s);
    connect(m_dead, &QAction::triggered, this, [this] { setDead(true); });
    m_alive = m_menu->addAction(tr("Ali&ve"));
    m_alive->setObjectName(u"mnuSiteAlive"_s);
    connect(m_alive, &QAction::triggered, this, [this] { setDead(false); });
    m_menu->addSeparator();
    m_add = addAction(u"mnuSiteAdd"_s, tr("&Add site..."), &SiteMenu::addSite);
    m_edit = addAction(u"mnuSiteEdit"_s, tr("Ed&it site..."), &SiteMenu::editSite);
    m_retire = addAction(u"mnuSiteRetire"_s, tr("Re&tire site"), &SiteMenu::retireSite);
}

QAction *SiteMenu::addAction(const QString &name, const QString &caption, void (SiteMenu::*slot)())
{
    QAction *action = m_menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void SiteMenu::showAt(const QPoint &pos)
{
    QListWidget *sites = m_window.siteList();
    // The menu is about the site under the pointer, as in a file manager.
    if (QListWidgetItem *item = sites->itemAt(pos))
        sites->setCurrentItem(item);
    prepare();
    m_menu->popup(sites->viewport()->mapToGlobal(pos));
}

void SiteMenu::prepare()
{
    const std::optional<SiteRecord> site = m_campaign.site(m_list.currentSiteId());
    const bool program = m_campaign.currentProgramId() != 0;
    for (QAction *action : std::as_const(m_stateActions))
        action->setEnabled(site && program);
    m_dead->setEnabled(site && !site->dead);
    m_alive->setEnabled(site && site->dead);
    m_add->setEnabled(m_campaign.hasStore());
    m_edit->setEnabled(site.has_value());
    m_retire->setEnabled(site.has_value());
}

void SiteMenu::setState(SiteState state)
{
    const qint64 siteId = m_list.currentSiteId();
    if (siteId == 0 || m_campaign.currentProgramId() == 0)
        return;
    QString detail;
    if (!askDetail(state, &detail))
        return;
    if (m_campaign.setState(siteId, state, detail) == 0)
        tellFailure(tr("The site's state could not be saved"));
}

bool SiteMenu::askDetail(SiteState state, QString *detail)
{
    QString label;
    if (state == SiteState::Listed)
        label = tr("Address of the listing (may stay empty):");
    else if (state == SiteState::Rejected)
        label = tr("Why was it rejected?");
    else if (state == SiteState::Skipped)
        label = tr("A note on why it is skipped:");
    else
        return true;
    const std::optional<QString> answer =
        m_dialogs.askText(&m_window, stateLabel(state), label, QString());
    if (!answer)
        return false;
    *detail = answer->trimmed();
    return true;
}

void SiteMenu::setDead(bool dead)
{
    const qint64 siteId = m_list.currentSiteId();
    if (siteId != 0 && !m_campaign.setSiteDead(siteId, dead))
        tellFailure(tr("The site could not be changed"));
}

void SiteMenu::addSite()
{
    const std::optional<SiteEntry> entry = m_dialogs.editSite(&m_window, tr("Add site"), {});
    if (entry && !m_campaign.addSite(*entry))
        tellFailure(tr("The site could not be added"));
}

void SiteMenu::editSite()
{
    const std::optional<SiteRecord> site = m_campaign.site(m_list.currentSiteId());
    if (!site)
        return;
    const std::optional<SiteEntry> entry =
        m_dialogs.editSite(&m_window, tr("Edit site"), {site->address, site->name, site->note});
    if (entry && !m_campaign.editSite(site->id, *entry))
        tellFailure(tr("The site could not be changed"));
}

void SiteMenu::retireSite()
{
    const qint64 siteId = m_list.currentSiteId();
    if (siteId != 0 && !m_campaign.retireSite(siteId))
        tellFailure(tr("The site could not be retired"));
}

void SiteMenu::tellFailure(const QString &what)
{
    const QString why = m_campaign.store().lastError();
    m_dialogs.messageBox(&m_window, why.isEmpty() ? what + u'.' : what + u": "_s + why,
                         u"Tarvelo"_s, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace tarvelo
