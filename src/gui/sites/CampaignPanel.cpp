#include "gui/sites/CampaignPanel.h"

#include "core/browser/SiteDirectory.h"
#include "gui/window/MainWindow.h"

#include <QLineEdit>
#include <QTimer>

#include <algorithm>

namespace tarvelo {

namespace {

// A program's id is made on first use: waiting for a pause in the typing keeps
// every half-typed name from becoming one.
constexpr int TypingPauseMs = 400;

} // namespace

CampaignPanel::CampaignPanel(MainWindow &window, CampaignStore &store, QObject *parent)
    : QObject(parent), m_window(window), m_store(store)
{
    m_typingPause = new QTimer(this);
    m_typingPause->setSingleShot(true);
    m_typingPause->setInterval(TypingPauseMs);
    connect(m_typingPause, &QTimer::timeout, this, &CampaignPanel::reloadStates);
    connect(&m_window, &MainWindow::currentProfileChanged, this, &CampaignPanel::reloadStates);
    watchProgramBoxes();
    reloadSites();
}

void CampaignPanel::watchProgramBoxes()
{
    for (int profile = 0; profile < ProfileCount; ++profile) {
        for (Field field : {Field::PADURL, Field::ProgName, Field::ProgVer}) {
            auto *box = qobject_cast<QLineEdit *>(m_window.fieldBox(field, profile));
            if (box)
                connect(box, &QLineEdit::textChanged, this,
                        [this, profile] { onProgramBoxEdited(profile); });
        }
    }
}

void CampaignPanel::onProgramBoxEdited(int profile)
{
    if (profile == m_window.currentProfile())
        m_typingPause->start();
}

std::optional<ProgramKey> CampaignPanel::currentProgram() const
{
    const int profile = m_window.currentProfile();
    ProgramKey key{m_window.fieldText(Field::PADURL, profile).trimmed(),
                   m_window.fieldText(Field::ProgName, profile).trimmed()};
    if (key.padUrl.isEmpty() && key.name.isEmpty())
        return std::nullopt;
    return key;
}

QString CampaignPanel::currentVersion() const
{
    return m_window.fieldText(Field::ProgVer, m_window.currentProfile()).trimmed();
}

qint64 CampaignPanel::currentProgramId()
{
    if (m_typingPause->isActive())
        reloadStates();
    return m_programId;
}

std::optional<SiteRecord> CampaignPanel::site(qint64 id) const
{
    const auto row = m_rowOfSite.constFind(id);
    if (row == m_rowOfSite.cend())
        return std::nullopt;
    return m_sites[*row];
}

StateRecord CampaignPanel::stateOf(qint64 siteId) const
{
    if (const auto found = m_states.constFind(siteId); found != m_states.cend())
        return *found;
    StateRecord todo;
    const std::optional<SiteRecord> record = site(siteId);
    if (record && record->dead)
        todo.state = SiteState::Dead;
    return todo;
}

qint64 CampaignPanel::setState(qint64 siteId, SiteState state, const QString &detail)
{
    if (currentProgramId() == 0)
        return 0;
    const qint64 step = m_store.setState(m_programId, siteId, state, currentVersion(), detail);
    if (step != 0)
        reloadStates();
    return step;
}

bool CampaignPanel::undoState(qint64 stateId)
{
    const bool undone = m_store.isOpen() && m_store.undoState(stateId);
    if (undone)
        reloadStates();
    return undone;
}

std::optional<qint64> CampaignPanel::addSite(const SiteEntry &entry)
{
    const std::optional<qint64> id = hasStore() ? m_store.addSite(entry) : std::nullopt;
    changedSites(id.has_value());
    return id;
}

bool CampaignPanel::editSite(qint64 id, const SiteEntry &entry)
{
    return changedSites(hasStore() && m_store.editSite(id, entry));
}

bool CampaignPanel::retireSite(qint64 id)
{
    return changedSites(hasStore() && m_store.retireSite(id));
}

bool CampaignPanel::setSiteDead(qint64 id, bool dead)
{
    return changedSites(hasStore() && m_store.setSiteDead(id, dead));
}

bool CampaignPanel::changedSites(bool done)
{
    if (done)
        refresh(); // a dead or retired site changes the states too
    return done;
}

void CampaignPanel::awaitStore()
{
    m_opening = true;
    refresh();
}

void CampaignPanel::takeStore()
{
    m_opening = false;
    refresh();
    Q_EMIT storeOpened();
}

void CampaignPanel::refresh()
{
    reloadSites();
    reloadStates();
}

void CampaignPanel::reloadSites()
{
    m_sites = hasStore() ? m_store.sites() : QList<SiteRecord>();
    // Each key made once, not at every comparison: a list can be long.
    QList<std::pair<QString, SiteRecord>> keyed;
    keyed.reserve(m_sites.size());
    for (const SiteRecord &record : std::as_const(m_sites))
        keyed.append({siteOrderKey(record.address), record});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    m_rowOfSite.clear();
    for (qsizetype i = 0; i < keyed.size(); ++i) {
        m_sites[i] = keyed[i].second;
        m_rowOfSite.insert(m_sites[i].id, i);
    }
    Q_EMIT sitesChanged();
}

void CampaignPanel::reloadStates()
{
    m_typingPause->stop();
    const std::optional<ProgramKey> program = currentProgram();
    m_programId = program && hasStore() ? m_store.programId(*program) : 0;
    m_states = m_programId != 0 ? m_store.latestStates(m_programId, currentVersion())
                                : QHash<qint64, StateRecord>();
    Q_EMIT statesChanged();
}

} // namespace tarvelo
