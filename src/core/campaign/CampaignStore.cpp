#include "core/campaign/CampaignStore.h"

#include "core/campaign/CampaignLog.h"
#include "core/campaign/SiteAddress.h"
#include "core/campaign/StoreFile.h"
#include "core/campaign/StoreSchema.h"
#include "core/campaign/VersionOrder.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <functional>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// SQLite's result codes as Qt SQL reports them in nativeErrorCode().
const QString sqliteCorrupt = u"11"_s;
const QString sqliteNotADatabase = u"26"_s;

QString isoUtc(const QDateTime &at)
{
    return at.toUTC().toString(Qt::ISODate);
}

QDateTime fromIsoUtc(const QVariant &text)
{
    return QDateTime::fromString(text.toString(), Qt::ISODate).toUTC();
}

QString errorText(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

bool sentAVersion(SiteState state)
{
    return state == SiteState::Submitted || state == SiteState::AwaitingEmail ||
           state == SiteState::Listed;
}

QString nextConnectionName()
{
    static std::atomic<int> count = 0;
    return u"tarvelo-campaign-%1"_s.arg(++count);
}

} // namespace

struct CampaignStore::Private
{
    QString path;
    QString connection;
    std::unique_ptr<StoreFile> file;
    bool open = false;
    QString lastError;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    std::optional<QSqlQuery> exec(const QString &sql, const QVariantList &values = {});
    bool transaction(const std::function<bool()> &work);
    bool connect(const QString &options);
    QString damage();
    QString configure();
    bool seed(const QStringList &builtInAddresses);
    std::optional<qint64> addOne(const SiteEntry &entry, bool *alreadyThere);
    OpenOutcome fail(const QString &why, const QString &keptAside = {});
    void close();
};

std::optional<QSqlQuery> CampaignStore::Private::exec(const QString &sql,
                                                      const QVariantList &values)
{
    if (connection.isEmpty()) {
        lastError = u"the campaign store is not open"_s;
        return std::nullopt;
    }
    QSqlQuery query(db());
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (const QVariant &value : values) {
        // A null QString binds as SQL NULL; the text columns hold '' instead.
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.addBindValue(nullText ? QVariant(u""_s) : value);
    }
    ok = ok && query.exec();
    if (!ok) {
        lastError = errorText(query.lastError());
        return std::nullopt;
    }
    return query;
}

bool CampaignStore::Private::transaction(const std::function<bool()> &work)
{
    if (!open) {
        lastError = u"the campaign store is not open"_s;
        return false;
    }
    QSqlDatabase base = db();
    if (!base.transaction()) {
        lastError = errorText(base.lastError());
        return false;
    }
    if (work() && base.commit())
        return true;
    if (base.lastError().isValid())
        lastError = errorText(base.lastError());
    base.rollback();
    return false;
}

bool CampaignStore::Private::connect(const QString &options)
{
    connection = nextConnectionName();
    QSqlDatabase base = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
    base.setDatabaseName(path);
    base.setConnectOptions(options);
    if (base.open())
        return true;
    lastError = errorText(base.lastError());
    return false;
}

// Why the file is damaged; empty when it is whole. The quick check reads
// every page as the integrity check does but leaves out matching each index
// against its table, which is most of the integrity check's time on a long
// campaign (38 ms against 66 ms to open 10,000 sites).
QString CampaignStore::Private::damage()
{
    const QString header = file->headerProblem();
    if (!header.isEmpty() || !file->hasData())
        return header;
    QSqlQuery query(db());
    if (!query.exec(u"PRAGMA quick_check"_s) || !query.next()) {
        const QString code = query.lastError().nativeErrorCode();
        if (code == sqliteCorrupt || code == sqliteNotADatabase)
            return errorText(query.lastError());
        lastError = errorText(query.lastError());
        return {};
    }
    const QString result = query.value(0).toString();
    return result == "ok"_L1 ? QString() : u"it fails its quick check (%1)"_s.arg(result);
}

QString CampaignStore::Private::configure()
{
    // Write-ahead logging with a full sync at each commit: a change the call
    // reported done survives a crash or a power cut.
    auto mode = exec(u"PRAGMA journal_mode = WAL"_s);
    if (!mode || !mode->next())
        return u"it cannot be written (%1)"_s.arg(lastError);
    if (mode->value(0).toString() != "wal"_L1)
        return u"it cannot keep a write-ahead log"_s;
    mode.reset(); // a statement still open would keep the schema step from committing
    if (!exec(u"PRAGMA synchronous = FULL"_s) || !exec(u"PRAGMA foreign_keys = ON"_s))
        return lastError;
    QSqlDatabase base = db();
    QString problem;
    if (!StoreSchema::upgrade(base, &problem))
        return problem;
    return {};
}

bool CampaignStore::Private::seed(const QStringList &builtInAddresses)
{
    // Each built-in address is added the first time this file sees it; one
    // the user retired is not seen again, so it does not come back.
    return transaction([&] {
        const QString now = isoUtc(QDateTime::currentDateTimeUtc());
        for (const QString &address : builtInAddresses) {
            const QString key = SiteAddress::key(address);
            if (key.isEmpty())
                continue;
            auto seen = exec(u"INSERT OR IGNORE INTO builtin_seen (key) VALUES (?)"_s, {key});
            if (!seen)
                return false;
            if (seen->numRowsAffected() == 1 &&
                !exec(u"INSERT OR IGNORE INTO sites (address, key, added_at) VALUES (?, ?, ?)"_s,
                      {address.trimmed(), key, now}))
                return false;
        }
        return true;
    });
}

// Adds a site or brings a retired one back into use; *alreadyThere when it
// is in use already. Runs inside the caller's transaction.
std::optional<qint64> CampaignStore::Private::addOne(const SiteEntry &entry, bool *alreadyThere)
{
    *alreadyThere = false;
    const QString key = SiteAddress::key(entry.address);
    if (key.isEmpty()) {
        lastError = u"%1: %2"_s.arg(entry.address, SiteAddress::problem(entry.address));
        return std::nullopt;
    }
    auto found = exec(u"SELECT id, retired FROM sites WHERE key = ?"_s, {key});
    if (!found)
        return std::nullopt;
    if (found->next()) {
        const qint64 id = found->value(0).toLongLong();
        if (!found->value(1).toBool()) {
            *alreadyThere = true;
            lastError = u"%1 is in the list already"_s.arg(entry.address);
            return id;
        }
        if (!exec(u"UPDATE sites SET retired = 0, name = coalesce(nullif(?, ''), name),"
                  " note = coalesce(nullif(?, ''), note) WHERE id = ?"_s,
                  {entry.name, entry.note, id}))
            return std::nullopt;
        return id;
    }
    auto added = exec(u"INSERT INTO sites (address, key, name, note, added_at)"
                      " VALUES (?, ?, ?, ?, ?)"_s,
                      {entry.address.trimmed(), key, entry.name, entry.note,
                       isoUtc(QDateTime::currentDateTimeUtc())});
    if (!added)
        return std::nullopt;
    return added->lastInsertId().toLongLong();
}

CampaignStore::OpenOutcome CampaignStore::Private::fail(const QString &why,
                                                        const QString &keptAside)
{
    close();
    OpenOutcome outcome;
    outcome.message =
        u"The campaign store %1 cannot be used: %2."_s.arg(QDir::toNativeSeparators(path), why);
    outcome.keptAside = keptAside;
    lastError = outcome.message;
    return outcome;
}

void CampaignStore::Private::close()
{
    open = false;
    if (!connection.isEmpty()) {
        db().close();
        QSqlDatabase::removeDatabase(connection);
        connection.clear();
    }
    file.reset();
}

CampaignStore::CampaignStore() : d(new Private) {}

CampaignStore::~CampaignStore()
{
    d->close();
    delete d;
}

QString CampaignStore::defaultPath()
{
    // The window program's AppDataLocation (organisation and application
    // "Tarvelo"), the same from the command line, which runs under another name.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/Tarvelo/Tarvelo/campaign.sqlite"_s;
}

CampaignStore::OpenOutcome CampaignStore::open(const QString &path,
                                               const QStringList &builtInAddresses)
{
    d->close();
    d->path = QFileInfo(path).absoluteFilePath();
    d->file = std::make_unique<StoreFile>(d->path);
    if (const QString problem = d->file->writeProblem(); !problem.isEmpty())
        return d->fail(problem);
    if (const QString problem = d->file->lock(); !problem.isEmpty())
        return d->fail(problem);
    if (!d->connect({}))
        return d->fail(d->lastError);
    if (const QString damage = d->damage(); !damage.isEmpty()) {
        // Never written over: the user's history may still be read from it.
        d->db().close();
        const QString aside = d->file->keepAside();
        if (aside.isEmpty())
            return d->fail(u"it is damaged (%1) and could not be moved aside"_s.arg(damage));
        return d->fail(
            u"it is damaged (%1); it was kept as %2"_s.arg(damage, QDir::toNativeSeparators(aside)),
            aside);
    }
    if (const QString problem = d->configure(); !problem.isEmpty())
        return d->fail(problem);
    d->open = true;
    if (!d->seed(builtInAddresses))
        return d->fail(u"the built-in sites cannot be added (%1)"_s.arg(d->lastError));
    return {true, {}, {}};
}

CampaignStore::OpenOutcome CampaignStore::openReadOnly(const QString &path)
{
    d->close();
    d->path = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo(d->path).isFile())
        return d->fail(u"there is no such file"_s);
    if (!d->connect(u"QSQLITE_OPEN_READONLY"_s))
        return d->fail(d->lastError);
    QString problem;
    const int version = [&] {
        QSqlDatabase base = d->db();
        return StoreSchema::version(base, &problem);
    }();
    if (version < 0)
        return d->fail(u"it cannot be read (%1)"_s.arg(problem));
    if (version != StoreSchema::CurrentVersion)
        return d->fail(u"it has schema version %1, this Tarvelo reads %2; start Tarvelo once "
                       "to bring it up to date"_s.arg(
                           QString::number(version), QString::number(StoreSchema::CurrentVersion)));
    d->open = true;
    return {true, {}, {}};
}

bool CampaignStore::isOpen() const
{
    return d->open;
}

QString CampaignStore::path() const
{
    return d->path;
}

QString CampaignStore::lastError() const
{
    return d->lastError;
}

QList<SiteRecord> CampaignStore::sites(bool withRetired) const
{
    QList<SiteRecord> list;
    auto query = d->exec(u"SELECT id, address, name, note, retired, dead FROM sites"_s +
                         (withRetired ? u" ORDER BY id"_s : u" WHERE retired = 0 ORDER BY id"_s));
    while (query && query->next()) {
        list.append({query->value(0).toLongLong(), query->value(1).toString(),
                     query->value(2).toString(), query->value(3).toString(),
                     query->value(4).toBool(), query->value(5).toBool()});
    }
    return list;
}

std::optional<SiteRecord> CampaignStore::site(qint64 id) const
{
    auto query =
        d->exec(u"SELECT id, address, name, note, retired, dead FROM sites WHERE id = ?"_s, {id});
    if (!query || !query->next())
        return std::nullopt;
    return SiteRecord{query->value(0).toLongLong(), query->value(1).toString(),
                      query->value(2).toString(),   query->value(3).toString(),
                      query->value(4).toBool(),     query->value(5).toBool()};
}

std::optional<qint64> CampaignStore::siteIdFor(const QString &address) const
{
    const QString key = SiteAddress::key(address);
    auto query = d->exec(u"SELECT id FROM sites WHERE key = ?"_s, {key});
    if (key.isEmpty() || !query || !query->next())
        return std::nullopt;
    return query->value(0).toLongLong();
}

std::optional<qint64> CampaignStore::addSite(const SiteEntry &entry)
{
    std::optional<qint64> id;
    const bool done = d->transaction([&] {
        bool alreadyThere = false;
        id = d->addOne(entry, &alreadyThere);
        return id && !alreadyThere;
    });
    return done ? id : std::nullopt;
}

bool CampaignStore::editSite(qint64 id, const SiteEntry &entry)
{
    const QString key = SiteAddress::key(entry.address);
    if (key.isEmpty()) {
        d->lastError = u"%1: %2"_s.arg(entry.address, SiteAddress::problem(entry.address));
        return false;
    }
    return d->transaction([&] {
        auto other = d->exec(u"SELECT id FROM sites WHERE key = ? AND id <> ?"_s, {key, id});
        if (!other)
            return false;
        if (other->next()) {
            d->lastError = u"another site has the address %1"_s.arg(entry.address);
            return false;
        }
        auto edited = d->exec(u"UPDATE sites SET address = ?, key = ?, name = ?, note = ?"
                              " WHERE id = ?"_s,
                              {entry.address.trimmed(), key, entry.name, entry.note, id});
        if (edited && edited->numRowsAffected() != 1)
            d->lastError = u"there is no site %1"_s.arg(id);
        return edited && edited->numRowsAffected() == 1;
    });
}

bool CampaignStore::retireSite(qint64 id)
{
    return d->transaction([&] {
        auto query = d->exec(u"UPDATE sites SET retired = 1 WHERE id = ?"_s, {id});
        if (query && query->numRowsAffected() != 1)
            d->lastError = u"there is no site %1"_s.arg(id);
        return query && query->numRowsAffected() == 1;
    });
}

bool CampaignStore::setSiteDead(qint64 id, bool dead)
{
    return d->transaction([&] {
        auto query = d->exec(u"UPDATE sites SET dead = ? WHERE id = ?"_s, {dead ? 1 : 0, id});
        if (query && query->numRowsAffected() != 1)
            d->lastError = u"there is no site %1"_s.arg(id);
        return query && query->numRowsAffected() == 1;
    });
}

std::optional<CampaignStore::AddOutcome> CampaignStore::addSites(const QList<SiteEntry> &entries)
{
    AddOutcome outcome;
    const bool done = d->transaction([&] {
        for (const SiteEntry &entry : entries) {
            if (SiteAddress::key(entry.address).isEmpty())
                continue; // an import reports those itself
            bool alreadyThere = false;
            if (!d->addOne(entry, &alreadyThere))
                return false;
            ++(alreadyThere ? outcome.alreadyThere : outcome.added);
        }
        return true;
    });
    return done ? std::optional(outcome) : std::nullopt;
}

bool CampaignStore::recordCheck(qint64 siteId, const CheckRecord &check)
{
    return d->transaction([&] {
        return d
            ->exec(u"INSERT INTO checks (site_id, at, ok, result) VALUES (?, ?, ?, ?)"_s,
                   {siteId, isoUtc(check.at), check.ok ? 1 : 0, check.result})
            .has_value();
    });
}

QList<CheckRecord> CampaignStore::checks(qint64 siteId) const
{
    QList<CheckRecord> list;
    auto query = d->exec(
        u"SELECT at, ok, result FROM checks WHERE site_id = ? ORDER BY at, rowid"_s, {siteId});
    while (query && query->next())
        list.append(
            {fromIsoUtc(query->value(0)), query->value(1).toBool(), query->value(2).toString()});
    return list;
}

qint64 CampaignStore::programId(const ProgramKey &program)
{
    qint64 id = 0;
    const bool done = d->transaction([&] {
        const QVariantList key = {program.padUrl, program.name};
        auto found =
            d->exec(u"INSERT OR IGNORE INTO programs (pad_url, name) VALUES (?, ?)"_s, key);
        if (found)
            found = d->exec(u"SELECT id FROM programs WHERE pad_url = ? AND name = ?"_s, key);
        if (found && found->next())
            id = found->value(0).toLongLong();
        return id != 0;
    });
    return done ? id : 0;
}

qint64 CampaignStore::setState(qint64 programId, qint64 siteId, SiteState state,
                               const QString &version, const QString &detail, const QDateTime &at)
{
    if (state == SiteState::Dead || state == SiteState::UpdateDue || !at.isValid()) {
        d->lastError = at.isValid() ? u"%1 is worked out, not recorded"_s.arg(stateName(state))
                                    : u"the step has no time"_s;
        return 0;
    }
    qint64 id = 0;
    const bool done = d->transaction([&] {
        auto added = d->exec(u"INSERT INTO states (program_id, site_id, state, version, at, detail)"
                             " VALUES (?, ?, ?, ?, ?, ?)"_s,
                             {programId, siteId, stateName(state), version, isoUtc(at), detail});
        if (added)
            id = added->lastInsertId().toLongLong();
        return added.has_value();
    });
    return done ? id : 0;
}

bool CampaignStore::undoState(qint64 stateId)
{
    return d->transaction([&] {
        auto query = d->exec(u"DELETE FROM states WHERE id = ?"_s, {stateId});
        if (query && query->numRowsAffected() != 1)
            d->lastError = u"there is no step %1"_s.arg(stateId);
        return query && query->numRowsAffected() == 1;
    });
}

QHash<qint64, StateRecord> CampaignStore::latestStates(qint64 programId,
                                                       const QString &currentVersion) const
{
    QHash<qint64, StateRecord> latest;
    auto query = d->exec(u"SELECT s.id, s.dead, t.id, t.state, t.version, t.at, t.detail"
                         " FROM sites s LEFT JOIN states t ON t.id = ("
                         "  SELECT id FROM states WHERE program_id = ? AND site_id = s.id"
                         "  ORDER BY at DESC, id DESC LIMIT 1)"
                         " WHERE s.retired = 0"_s,
                         {programId});
    while (query && query->next()) {
        const bool dead = query->value(1).toBool();
        if (query->value(2).isNull() && !dead)
            continue;
        StateRecord record;
        record.id = query->value(2).toLongLong();
        record.state = stateFromName(query->value(3).toString()).value_or(SiteState::Todo);
        record.version = query->value(4).toString();
        record.at = query->value(2).isNull() ? QDateTime() : fromIsoUtc(query->value(5));
        record.detail = query->value(6).toString();
        if (dead)
            record.state = SiteState::Dead;
        else if (sentAVersion(record.state) && isOlderVersion(record.version, currentVersion))
            record.state = SiteState::UpdateDue;
        latest.insert(query->value(0).toLongLong(), record);
    }
    return latest;
}

QList<StateRecord> CampaignStore::history(qint64 programId, qint64 siteId) const
{
    QList<StateRecord> list;
    auto query = d->exec(u"SELECT id, state, version, at, detail FROM states"
                         " WHERE program_id = ? AND site_id = ? ORDER BY at, id"_s,
                         {programId, siteId});
    while (query && query->next()) {
        list.append({query->value(0).toLongLong(),
                     stateFromName(query->value(1).toString()).value_or(SiteState::Todo),
                     query->value(2).toString(), fromIsoUtc(query->value(3)),
                     query->value(4).toString()});
    }
    return list;
}

bool CampaignStore::teachBox(const QString &host, const QString &box, const QString &field)
{
    return d->transaction([&] {
        return d
            ->exec(u"INSERT INTO taught_boxes (host, box, field) VALUES (?, ?, ?)"
                   " ON CONFLICT (host, box) DO UPDATE SET field = excluded.field"_s,
                   {host, box, field})
            .has_value();
    });
}

QHash<QString, QString> CampaignStore::taughtBoxes(const QString &host) const
{
    QHash<QString, QString> boxes;
    auto query = d->exec(u"SELECT box, field FROM taught_boxes WHERE host = ?"_s, {host});
    while (query && query->next())
        boxes.insert(query->value(0).toString(), query->value(1).toString());
    return boxes;
}

bool CampaignStore::clearTaughtBoxes(const QString &host)
{
    return d->transaction(
        [&] { return d->exec(u"DELETE FROM taught_boxes WHERE host = ?"_s, {host}).has_value(); });
}

bool CampaignStore::exportLog(const QString &filePath, QString *error) const
{
    CampaignLog log;
    auto programs = d->exec(u"SELECT id, name, pad_url FROM programs ORDER BY id"_s);
    const QList<SiteRecord> inUse = sites();
    while (programs && programs->next()) {
        const qint64 id = programs->value(0).toLongLong();
        QStringList versions;
        auto sent = d->exec(u"SELECT version FROM states WHERE program_id = ? AND version <> ''"
                            " GROUP BY version ORDER BY max(at) DESC"_s,
                            {id});
        while (sent && sent->next())
            versions.append(sent->value(0).toString());
        const QHash<qint64, StateRecord> latest = latestStates(id, newestVersion(versions));
        for (const SiteRecord &site : inUse)
            log.add(site, programs->value(1).toString(), programs->value(2).toString(),
                    latest.value(site.id));
    }
    if (!programs) {
        if (error)
            *error = d->lastError;
        return false;
    }
    return log.save(filePath, error);
}

} // namespace tarvelo
