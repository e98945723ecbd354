#pragma once

#include "core/campaign/SiteState.h"

#include <QObject>

class QAction;
class QMenu;
class QPoint;

namespace tarvelo {

class CampaignPanel;
class Dialogs;
class MainWindow;
class SiteListPanel;

// The site list's right-click menu (mnuSites): the current program's state
// on the site, the site dead or alive, and adding, editing and retiring sites.
class SiteMenu : public QObject
{
    Q_OBJECT
public:
    SiteMenu(MainWindow &window, CampaignPanel &campaign, SiteListPanel &list, Dialogs &dialogs);

    QMenu *menu() const { return m_menu; }
    // Enables what applies to the current site; the menu shows afterwards.
    void prepare();

    void setState(SiteState state);
    void setDead(bool dead);
    void addSite();
    void editSite();
    void retireSite();

private:
    void build();
    QAction *addAction(const QString &name, const QString &caption, void (SiteMenu::*slot)());
    void showAt(const QPoint &pos);
    // The one-line question a state asks before it is set; false on cancel.
    bool askDetail(SiteState state, QString *detail);
    void tellFailure(const QString &what);

    MainWindow &m_window;
    CampaignPanel &m_campaign;
    SiteListPanel &m_list;
    Dialogs &m_dialogs;
    QMenu *m_menu = nullptr;
    QList<QAction *> m_stateActions;
    QAction *m_dead = nullptr;
    QAction *m_alive = nullptr;
    QAction *m_add = nullptr;
    QAction *m_edit = nullptr;
    QAction *m_retire = nullptr;
};

} // namespace tarvelo
