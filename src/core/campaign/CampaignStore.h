#pragma once

#include "core/campaign/SiteEntry.h"
#include "core/campaign/SiteState.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvelo {

// A program as the campaign knows it: its PAD URL and its name, so it keeps
// its history when it moves to another profile slot.
struct ProgramKey
{
    QString padUrl;
    QString name;
};

struct SiteRecord
{
    qint64 id = 0;
    QString address;
    QString name;
    QString note;
    bool retired = false;
    bool dead = false;
};

// One step of a program's history on a site.
struct StateRecord
{
    qint64 id = 0;
    SiteState state = SiteState::Todo;
    QString version; // the version sent, for Submitted, AwaitingEmail, Listed
    QDateTime at;    // UTC
    QString detail;  // the listing's address, the reason or the note
};

// One answer of a site check.
struct CheckRecord
{
    QDateTime at; // UTC
    bool ok = false;
    QString result; // "200 OK", "moved to https://…", "timed out", …
};

// The campaign store: the user's sites, every program's history on them, site
// check results and the form boxes the user taught, in one SQLite file. Every
// change is one transaction, done when the call returns true.
class CampaignStore
{
public:
    struct OpenOutcome
    {
        bool ok = false;
        // For the user when !ok: which file, and why.
        QString message;
        // Where a damaged file was moved, so nothing of it is lost.
        QString keptAside;
    };

    CampaignStore();
    ~CampaignStore();
    CampaignStore(const CampaignStore &) = delete;
    CampaignStore &operator=(const CampaignStore &) = delete;

    // $XDG_DATA_HOME/Tarvelo/Tarvelo/campaign.sqlite on Linux.
    static QString defaultPath();

    // Opens or creates the file, brings its schema up to date and adds the
    // built-in addresses it has never seen (an address the user removed
    // stays removed).
    OpenOutcome open(const QString &path, const QStringList &builtInAddresses);
    // Opens an existing, up-to-date file for reading only: no lock, no new
    // file, no seeding, so a log can be exported while the window runs.
    OpenOutcome openReadOnly(const QString &path);
    bool isOpen() const;
    QString path() const;
    // Why the last call failed.
    QString lastError() const;

    // Sites in use, or all of them with the retired ones.
    QList<SiteRecord> sites(bool withRetired = false) const;
    std::optional<SiteRecord> site(qint64 id) const;
    // The site whose address is the same as address once normalised.
    std::optional<qint64> siteIdFor(const QString &address) const;

    // Fails for an address that is no site or is in use already; a retired
    // site of that address comes back into use.
    std::optional<qint64> addSite(const SiteEntry &entry);
    bool editSite(qint64 id, const SiteEntry &entry);
    bool retireSite(qint64 id);
    bool setSiteDead(qint64 id, bool dead);

    struct AddOutcome
    {
        int added = 0;
        int alreadyThere = 0;
    };
    // Many sites in one transaction, as an import does.
    std::optional<AddOutcome> addSites(const QList<SiteEntry> &entries);

    bool recordCheck(qint64 siteId, const CheckRecord &check);
    QList<CheckRecord> checks(qint64 siteId) const;

    // The program's id, created on first use; 0 when the store cannot write.
    qint64 programId(const ProgramKey &program);

    // A new step of the history; its id (for undo), 0 on failure.
    qint64 setState(qint64 programId, qint64 siteId, SiteState state, const QString &version,
                    const QString &detail = {},
                    const QDateTime &at = QDateTime::currentDateTimeUtc());
    // Takes back a step setState made.
    bool undoState(qint64 stateId);

    // Per site in use, the program's latest step; Dead for a dead site and
    // UpdateDue where the version sent is older than currentVersion. A site
    // without history has no entry (it is to do).
    QHash<qint64, StateRecord> latestStates(qint64 programId, const QString &currentVersion) const;
    QList<StateRecord> history(qint64 programId, qint64 siteId) const;

    // Form boxes the user taught on a host (SiteAddress::hostKey): box
    // description to field name.
    bool teachBox(const QString &host, const QString &box, const QString &field);
    QHash<QString, QString> taughtBoxes(const QString &host) const;
    bool clearTaughtBoxes(const QString &host);

    // Every program × site in use with its latest state, as CSV (header
    // site,name,program,pad_url,version,status,date,note).
    bool exportLog(const QString &filePath, QString *error) const;

private:
    struct Private;
    Private *d;
};

} // namespace tarvelo
