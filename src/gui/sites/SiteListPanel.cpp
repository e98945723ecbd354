#include "gui/sites/SiteListPanel.h"

#include "core/browser/SiteDirectory.h"
#include "core/campaign/CampaignRules.h"
#include "gui/browser/Browser.h"
#include "gui/sites/CampaignPanel.h"
#include "gui/sites/SiteItem.h"
#include "gui/sites/StateMarks.h"
#include "gui/window/MainWindow.h"

#include <QLabel>
#include <QListWidget>

using namespace Qt::StringLiterals;

namespace tarvelo {

SiteListPanel::SiteListPanel(MainWindow &window, CampaignPanel &campaign, Browser &browser)
    : QObject(&window), m_window(window), m_campaign(campaign), m_browser(browser)
{
    QListWidget *list = m_window.siteList();
    list->setIconSize(QSize(StateMarks::Size, StateMarks::Size));
    list->setUniformItemSizes(true); // a long list lays out in no time
    connect(&m_campaign, &CampaignPanel::sitesChanged, this, &SiteListPanel::fill);
    connect(&m_campaign, &CampaignPanel::statesChanged, this, &SiteListPanel::showMarks);
    fill();
}

qint64 SiteListPanel::siteIdOf(const QListWidgetItem *item)
{
    return item ? item->data(SiteItem::SiteIdRole).toLongLong() : 0;
}

qint64 SiteListPanel::currentSiteId() const
{
    return siteIdOf(m_window.siteList()->currentItem());
}

void SiteListPanel::noteOpened()
{
    m_lastOpened = currentSiteId();
}

void SiteListPanel::fill()
{
    QListWidget *list = m_window.siteList();
    const qint64 current = currentSiteId();
    list->clear();
    // Empty while the store opens, rather than the built-in list: the list
    // then changes once, and no row moves, gains a mark or vanishes under
    // the pointer a moment after it appeared.
    if (m_campaign.storeOpening())
        return;
    if (!m_campaign.hasStore()) {
        list->addItems(SiteDirectory::load()); // shipped in the list's order
        return;
    }
    for (const SiteRecord &site : m_campaign.sites())
        list->addItem(new SiteItem(site.id, site.address, m_campaign));
    if (QListWidgetItem *item = itemOf(current))
        list->setCurrentItem(item);
}

void SiteListPanel::showMarks()
{
    // The items read their state when painted.
    m_window.siteList()->viewport()->update();
}

QListWidgetItem *SiteListPanel::itemOf(qint64 siteId) const
{
    QListWidget *list = m_window.siteList();
    for (int row = 0; siteId != 0 && row < list->count(); ++row) {
        if (siteIdOf(list->item(row)) == siteId)
            return list->item(row);
    }
    return nullptr;
}

void SiteListPanel::openNextSite()
{
    if (m_campaign.storeOpening()) {
        say(tr("The campaign store is still opening; press Keypad + again in a moment."));
        return;
    }
    if (m_campaign.currentProgramId() == 0) {
        say(tr("Keypad + opens the next site once the current profile names a program."));
        return;
    }
    QList<qint64> ids;
    ids.reserve(m_campaign.sites().size());
    for (const SiteRecord &site : m_campaign.sites())
        ids.append(site.id);
    const qint64 selected = currentSiteId();
    const std::optional<qint64> next = nextSiteToOpen(
        ids, m_campaign.states(), selected != 0 ? std::optional<qint64>(selected) : std::nullopt);
    QListWidgetItem *item = next ? itemOf(*next) : nullptr;
    if (!item) {
        say(tr("No site is to do or due an update for this program."));
        return;
    }
    openSite(item);
}

void SiteListPanel::openSite(QListWidgetItem *item)
{
    QListWidget *list = m_window.siteList();
    list->setCurrentItem(item);
    list->scrollToItem(item);
    m_lastOpened = siteIdOf(item);
    m_browser.navigate(item->text());
    m_browser.setFocus();
}

void SiteListPanel::say(const QString &text)
{
    m_window.statusLabel()->setText(u" "_s + text);
}

} // namespace tarvelo
