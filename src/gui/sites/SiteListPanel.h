#pragma once

#include <QObject>

class QListWidgetItem;

namespace tarvelo {

class Browser;
class CampaignPanel;
class MainWindow;

// The Main Window's site list (lstSites): the sites in use in the list's
// order, each marked with its state for the current program, or the built-in
// list when there is no store; empty while the store is opening. Opens the next site that wants the
// program.
class SiteListPanel : public QObject
{
    Q_OBJECT
public:
    // Fills the list now; a child of the window.
    SiteListPanel(MainWindow &window, CampaignPanel &campaign, Browser &browser);

    // The item's site id; 0 for none, and for the built-in list's entries.
    static qint64 siteIdOf(const QListWidgetItem *item);
    qint64 currentSiteId() const;
    // The site the user opened last from the list, 0 before the first.
    qint64 lastOpenedSiteId() const { return m_lastOpened; }

    // The list opened its current site (a double-click, Enter or Space).
    void noteOpened();
    // Keypad +: the site after the selected one that is to do or due an
    // update for the current program; the status line says when none is.
    void openNextSite();

private:
    void fill();
    void showMarks();
    void openSite(QListWidgetItem *item);
    QListWidgetItem *itemOf(qint64 siteId) const;
    void say(const QString &text);

    MainWindow &m_window;
    CampaignPanel &m_campaign;
    Browser &m_browser;
    qint64 m_lastOpened = 0;
};

} // namespace tarvelo
