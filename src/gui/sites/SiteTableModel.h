#pragma once

#include "core/campaign/CampaignStore.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

#include <array>
#include <optional>

namespace tarvelo {

// The Sites tab's table: every site in use with where the current program
// stands on it. The store is read once per reload; the state filter and the
// search work on the rows held here, so typing into the search box never
// queries the store.
class SiteTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        AddressColumn,
        NameColumn,
        StateColumn,
        VersionColumn,
        DateColumn,
        CheckColumn,
        NoteColumn,
        ColumnCount
    };
    using Counts = std::array<int, SiteStateCount>;

    explicit SiteTableModel(const CampaignStore &store, QObject *parent = nullptr);

    // Reads the sites and the program's latest states again; programId 0 is
    // no program, where every live site is to do.
    void reload(qint64 programId, const QString &version);
    // Shows the rows in state (all of them when none) whose address, name or
    // note holds search, in any case.
    void setFilter(std::optional<SiteState> state, const QString &search);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    qint64 siteId(int row) const;
    std::optional<SiteRecord> site(int row) const;
    // The row showing the site; -1 when it is filtered out or unknown.
    int rowOf(qint64 siteId) const;
    int totalCount() const { return int(m_sites.size()); }
    // Per state, over every site in use whatever the filter shows.
    Counts counts() const;

    // A check result just recorded, so the table need not ask the store.
    void setLastCheck(qint64 siteId, const CheckRecord &check);

private:
    struct Row
    {
        SiteRecord site;
        std::optional<StateRecord> latest;
        SiteState state = SiteState::Todo;
        QString haystack; // address, name and note, case-folded
    };

    bool matches(const Row &row) const;
    void applyFilter();
    std::optional<CheckRecord> lastCheck(qint64 siteId) const;
    QVariant display(const Row &row, int column) const;
    QVariant toolTip(const Row &row, int column) const;

    const CampaignStore &m_store;
    QHash<qint64, StateRecord> m_latest;
    QList<Row> m_sites;
    QList<int> m_shown; // indexes into m_sites, in the store's order
    QHash<qint64, int> m_indexOf;
    std::optional<SiteState> m_state;
    QString m_needle;
    // Filled as rows come into view: one store query per site seen, not per site.
    mutable QHash<qint64, std::optional<CheckRecord>> m_lastChecks;
};

} // namespace tarvelo
