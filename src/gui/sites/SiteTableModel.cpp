#include "gui/sites/SiteTableModel.h"

#include "core/campaign/CampaignRules.h"
#include "gui/sites/CampaignBar.h"

#include <QPixmap>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QString day(const QDateTime &at)
{
    return at.isValid() ? at.toLocalTime().toString(u"yyyy-MM-dd"_s) : QString();
}

// The state's colour on the campaign bar, so the table and the bar read alike.
QPixmap stateSwatch(SiteState state)
{
    static const auto swatches = [] {
        std::array<QPixmap, SiteStateCount> all;
        for (int i = 0; i < SiteStateCount; ++i) {
            all[size_t(i)] = QPixmap(10, 10);
            all[size_t(i)].fill(CampaignBar::colour(SiteState(i)));
        }
        return all;
    }();
    return swatches[size_t(state)];
}

QString checkText(const CheckRecord &check)
{
    return day(check.at) + u' ' + check.result;
}

} // namespace

SiteTableModel::SiteTableModel(const CampaignStore &store, QObject *parent)
    : QAbstractTableModel(parent), m_store(store)
{
}

void SiteTableModel::reload(qint64 programId, const QString &version)
{
    const QList<SiteRecord> sites = m_store.sites();
    m_latest = programId ? m_store.latestStates(programId, version) : QHash<qint64, StateRecord>();
    beginResetModel();
    m_sites.clear();
    m_sites.reserve(sites.size());
    m_indexOf.clear();
    m_lastChecks.clear();
    for (const SiteRecord &site : sites) {
        // Without a program a dead site is still dead.
        if (site.dead && !m_latest.contains(site.id)) {
            StateRecord dead;
            dead.state = SiteState::Dead;
            m_latest.insert(site.id, dead);
        }
        Row row{site, std::nullopt, SiteState::Todo, {}};
        if (const auto it = m_latest.constFind(site.id); it != m_latest.cend()) {
            row.latest = *it;
            row.state = it->state;
        }
        row.haystack = (site.address + u'\n' + site.name + u'\n' + site.note).toCaseFolded();
        m_indexOf.insert(site.id, int(m_sites.size()));
        m_sites.append(std::move(row));
    }
    applyFilter();
    endResetModel();
}

void SiteTableModel::setFilter(std::optional<SiteState> state, const QString &search)
{
    const QString needle = search.trimmed().toCaseFolded();
    // Typing on narrows what is shown already: only those rows need a look.
    const bool narrower = state == m_state && needle.contains(m_needle);
    beginResetModel();
    m_state = state;
    m_needle = needle;
    if (narrower)
        m_shown.removeIf([this](int i) { return !matches(m_sites[i]); });
    else
        applyFilter();
    endResetModel();
}

bool SiteTableModel::matches(const Row &row) const
{
    if (m_state && row.state != *m_state)
        return false;
    return m_needle.isEmpty() || row.haystack.contains(m_needle);
}

void SiteTableModel::applyFilter()
{
    m_shown.clear();
    for (int i = 0; i < m_sites.size(); ++i) {
        if (matches(m_sites[i]))
            m_shown.append(i);
    }
}

int SiteTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int SiteTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SiteTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const Row &row = m_sites[m_shown[index.row()]];
    switch (role) {
    case Qt::DisplayRole:
        return display(row, index.column());
    case Qt::ToolTipRole:
        return toolTip(row, index.column());
    case Qt::DecorationRole:
        return index.column() == StateColumn ? stateSwatch(row.state) : QVariant();
    default:
        return {};
    }
}

QVariant SiteTableModel::display(const Row &row, int column) const
{
    switch (column) {
    case AddressColumn:
        return row.site.address;
    case NameColumn:
        return row.site.name;
    case StateColumn:
        return stateLabel(row.state);
    case VersionColumn:
        return row.latest ? row.latest->version : QString();
    case DateColumn:
        return row.latest ? day(row.latest->at) : QString();
    case CheckColumn: {
        const auto check = lastCheck(row.site.id);
        return check ? checkText(*check) : QString();
    }
    case NoteColumn:
        return row.site.note;
    default:
        return {};
    }
}

QVariant SiteTableModel::toolTip(const Row &row, int column) const
{
    switch (column) {
    case StateColumn:
        return row.latest ? row.latest->detail : QString();
    case CheckColumn: {
        const auto check = lastCheck(row.site.id);
        return check ? check->at.toLocalTime().toString(Qt::ISODate) + u' ' + check->result
                     : QString();
    }
    case NoteColumn:
        return row.site.note;
    default:
        return {};
    }
}

QVariant SiteTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString titles[ColumnCount] = {u"Address"_s,      u"Name"_s, u"State"_s,
                                                u"Version sent"_s, u"Date"_s, u"Last check"_s,
                                                u"Note"_s};
    return section >= 0 && section < ColumnCount ? titles[section] : QString();
}

qint64 SiteTableModel::siteId(int row) const
{
    return row >= 0 && row < m_shown.size() ? m_sites[m_shown[row]].site.id : 0;
}

std::optional<SiteRecord> SiteTableModel::site(int row) const
{
    if (row < 0 || row >= m_shown.size())
        return std::nullopt;
    return m_sites[m_shown[row]].site;
}

int SiteTableModel::rowOf(qint64 siteId) const
{
    const int index = m_indexOf.value(siteId, -1);
    if (index < 0)
        return -1;
    const auto it = std::lower_bound(m_shown.cbegin(), m_shown.cend(), index);
    return it != m_shown.cend() && *it == index ? int(it - m_shown.cbegin()) : -1;
}

SiteTableModel::Counts SiteTableModel::counts() const
{
    QList<qint64> ids;
    ids.reserve(m_sites.size());
    for (const Row &row : m_sites)
        ids.append(row.site.id);
    return stateCounts(ids, m_latest);
}

void SiteTableModel::setLastCheck(qint64 siteId, const CheckRecord &check)
{
    m_lastChecks.insert(siteId, check);
    const int row = rowOf(siteId);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, CheckColumn), index(row, CheckColumn));
}

std::optional<CheckRecord> SiteTableModel::lastCheck(qint64 siteId) const
{
    if (const auto it = m_lastChecks.constFind(siteId); it != m_lastChecks.cend())
        return *it;
    const QList<CheckRecord> checks = m_store.checks(siteId);
    std::optional<CheckRecord> last;
    for (const CheckRecord &check : checks) {
        if (!last || check.at >= last->at)
            last = check;
    }
    m_lastChecks.insert(siteId, last);
    return last;
}

} // namespace tarvelo
