#pragma once

#include "core/campaign/CampaignStore.h"

#include <QObject>

#include <optional>

class QTimer;

namespace tarvelo {

class MainWindow;

// The campaign as the window shows it: the sites in use in the list's order,
// the current program (the current profile's PAD URL and program name) and
// its state on each site. The site list and the Sites tab both work through
// here, so each sees the other's changes at once. Without an open store there
// are no sites and nothing can change. The store opens after start-up: while
// it is opening the panel has no sites either, and storeOpened() tells when
// it is read.
class CampaignPanel : public QObject
{
    Q_OBJECT
public:
    // Reads the sites now; the states once refresh() is called after start-up.
    CampaignPanel(MainWindow &window, CampaignStore &store, QObject *parent = nullptr);

    bool hasStore() const { return m_store.isOpen(); }
    // Between awaitStore() and takeStore(): the list waits for the store.
    bool storeOpening() const { return m_opening; }
    // The store is about to open a moment from now.
    void awaitStore();
    // The store's opening is over, open or not: reads it and tells storeOpened.
    void takeStore();
    CampaignStore &store() { return m_store; }

    // Nothing while both the PAD URL and the name are empty.
    std::optional<ProgramKey> currentProgram() const;
    QString currentVersion() const;
    // The current program's id in the store; 0 without a program or store.
    // Reads the states first when a program box was edited a moment ago.
    qint64 currentProgramId();
    // The program states() belong to, as last read; 0 for none.
    qint64 statesProgramId() const { return m_programId; }

    // In the list's order (siteOrderLess on the address).
    const QList<SiteRecord> &sites() const { return m_sites; }
    std::optional<SiteRecord> site(qint64 id) const;
    // The current program's latest step on each site that has one.
    const QHash<qint64, StateRecord> &states() const { return m_states; }
    // A site without a step is to do; a dead one is dead whatever the program.
    StateRecord stateOf(qint64 siteId) const;

    // A new step for the current program, with its current version; the
    // step's id for undoState, 0 without a program or when the store failed.
    qint64 setState(qint64 siteId, SiteState state, const QString &detail = {});
    bool undoState(qint64 stateId);

    // Site changes; each tells sitesChanged when it was made.
    std::optional<qint64> addSite(const SiteEntry &entry);
    bool editSite(qint64 id, const SiteEntry &entry);
    bool retireSite(qint64 id);
    bool setSiteDead(qint64 id, bool dead);

    // Reads the sites, then the program and its states, again.
    void refresh();
    void reloadSites();
    void reloadStates();

Q_SIGNALS:
    // After takeStore() has read the store (or found it closed).
    void storeOpened();
    void sitesChanged();
    void statesChanged();

private:
    void watchProgramBoxes();
    void onProgramBoxEdited(int profile);
    bool changedSites(bool done);

    MainWindow &m_window;
    CampaignStore &m_store;
    QList<SiteRecord> m_sites;
    QHash<qint64, qsizetype> m_rowOfSite; // into m_sites
    QHash<qint64, StateRecord> m_states;
    qint64 m_programId = 0;
    bool m_opening = false;
    // Typing a name waits for a pause before the states are read again.
    QTimer *m_typingPause = nullptr;
};

} // namespace tarvelo
