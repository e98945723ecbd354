#pragma once

#include "core/campaign/CampaignStore.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace tarvelo {

class CampaignBar;
class Dialogs;
class SiteCheckRun;
class SiteTableModel;

// The "Sites" page: every site in use with where the current program stands
// on it, a filter by state and a search, the buttons that add, edit, retire,
// import, export and check sites, and the campaign's counts as a bar. The
// store is first read when the page is first shown, so start-up never pays
// for a long list.
class SitesTab : public QWidget
{
    Q_OBJECT
public:
    SitesTab(CampaignStore &store, Dialogs &dialogs, QWidget *parent = nullptr);
    ~SitesTab() override;

    // The program whose states the table shows, 0 for none; its states are
    // read again, as they change for the same program too.
    void setProgram(qint64 programId, const QString &version);
    // Reads the store again (at once when shown, else when next shown).
    void refresh();

    SiteTableModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }
    SiteCheckRun &checkRun() const { return *m_checkRun; }

Q_SIGNALS:
    // This page added, edited, retired or imported sites, or marked them dead
    // or alive.
    void sitesChanged();
    // Some site's state for the current program changed (dead or alive).
    void statesChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildFilterRow();
    void buildButtonRow();
    QPushButton *addButton(const QString &name, const QString &text, const QString &toolTip,
                           void (SitesTab::*action)());
    void load();
    void applyFilter();
    void showCounts();
    void updateButtons();
    std::optional<SiteRecord> selectedSite() const;
    void selectSite(qint64 siteId);

    void addSite();
    void editSite();
    bool entryAccepted(const SiteEntry &entry, qint64 siteId);
    void retireSite();
    void markDead();
    void markAlive();
    void setDead(const QList<SiteRecord> &sites, bool dead);
    void importSites();
    void exportSites();
    void showTaughtBoxes();
    void checkSites();
    void cancelCheck();
    void onCheckFinished(bool cancelled);
    void offerDead();
    void failed(const QString &title, const QString &what);

    CampaignStore &m_store;
    Dialogs &m_dialogs;
    qint64 m_programId = 0;
    QString m_version;
    bool m_stale = true; // the store changed since the table last read it

    SiteTableModel *m_model;
    SiteCheckRun *m_checkRun;
    QComboBox *m_stateFilter = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_shownCount = nullptr;
    CampaignBar *m_bar = nullptr;
    QTableView *m_table = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_retire = nullptr;
    QPushButton *m_markDead = nullptr;
    QPushButton *m_markAlive = nullptr;
    QPushButton *m_taught = nullptr;
    QPushButton *m_check = nullptr;
    QPushButton *m_cancelCheck = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_info = nullptr;
};

} // namespace tarvelo
