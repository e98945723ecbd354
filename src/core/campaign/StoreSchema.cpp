#include "core/campaign/StoreSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Version 1: sites, the built-in addresses ever seeded, programs, their
// history per site, site checks and the form boxes the user taught.
const QStringList &version1()
{
    static const QStringList statements = {
        u"CREATE TABLE sites ("
        " id INTEGER PRIMARY KEY,"
        " address TEXT NOT NULL,"
        " key TEXT NOT NULL UNIQUE,"
        " name TEXT NOT NULL DEFAULT '',"
        " note TEXT NOT NULL DEFAULT '',"
        " retired INTEGER NOT NULL DEFAULT 0,"
        " dead INTEGER NOT NULL DEFAULT 0,"
        " added_at TEXT NOT NULL)"_s,
        u"CREATE TABLE builtin_seen (key TEXT PRIMARY KEY) WITHOUT ROWID"_s,
        u"CREATE TABLE programs ("
        " id INTEGER PRIMARY KEY,"
        " pad_url TEXT NOT NULL,"
        " name TEXT NOT NULL,"
        " UNIQUE (pad_url, name))"_s,
        u"CREATE TABLE states ("
        " id INTEGER PRIMARY KEY,"
        " program_id INTEGER NOT NULL REFERENCES programs(id),"
        " site_id INTEGER NOT NULL REFERENCES sites(id),"
        " state TEXT NOT NULL,"
        " version TEXT NOT NULL DEFAULT '',"
        " at TEXT NOT NULL,"
        " detail TEXT NOT NULL DEFAULT '')"_s,
        // latestStates(): one seek per site to its newest step.
        u"CREATE INDEX states_latest ON states (program_id, site_id, at, id)"_s,
        u"CREATE INDEX states_site ON states (site_id)"_s,
        u"CREATE TABLE checks ("
        " site_id INTEGER NOT NULL REFERENCES sites(id),"
        " at TEXT NOT NULL,"
        " ok INTEGER NOT NULL,"
        " result TEXT NOT NULL DEFAULT '')"_s,
        u"CREATE INDEX checks_site ON checks (site_id, at)"_s,
        u"CREATE TABLE taught_boxes ("
        " host TEXT NOT NULL,"
        " box TEXT NOT NULL,"
        " field TEXT NOT NULL,"
        " UNIQUE (host, box))"_s,
    };
    return statements;
}

// Index i holds the step from version i to version i + 1.
const QList<const QStringList *> &steps()
{
    static const QList<const QStringList *> all = {&version1()};
    return all;
}

QString failure(const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

} // namespace

int StoreSchema::version(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA user_version"_s) || !query.next()) {
        if (error)
            *error = failure(query);
        return -1;
    }
    return query.value(0).toInt();
}

bool StoreSchema::upgrade(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    // BEGIN IMMEDIATE: the version read and the steps see one state of the file.
    if (!query.exec(u"BEGIN IMMEDIATE"_s)) {
        *error = failure(query);
        return false;
    }
    Q_ASSERT(steps().size() == CurrentVersion);
    const int from = version(db);
    bool ok = from >= 0;
    if (!ok)
        *error = u"its schema version cannot be read"_s;
    else if (from > CurrentVersion) {
        *error =
            u"it was written by a later Tarvelo (schema version %1; this one reads up to %2)"_s.arg(
                QString::number(from), QString::number(CurrentVersion));
        ok = false;
    }
    for (int v = from + 1; ok && v <= CurrentVersion; ++v)
        ok = runStep(db, v, error);
    if (ok && query.exec(u"COMMIT"_s))
        return true;
    if (ok)
        *error = failure(query);
    query.exec(u"ROLLBACK"_s);
    return false;
}

bool StoreSchema::runStep(QSqlDatabase &db, int toVersion, QString *error)
{
    QSqlQuery query(db);
    for (const QString &statement : *steps().at(toVersion - 1)) {
        if (!query.exec(statement)) {
            *error = failure(query);
            return false;
        }
    }
    // PRAGMA takes no bound values; the number is ours.
    if (!query.exec(u"PRAGMA user_version = %1"_s.arg(toVersion))) {
        *error = failure(query);
        return false;
    }
    return true;
}

} // namespace tarvelo
