#pragma once

#include <QString>

class QSqlDatabase;

namespace tarvelo {

// The campaign store's tables, versioned by PRAGMA user_version. Each version
// has one step that brings the file from the version before it; a file is
// brought up to date by running the steps it has not seen, in one transaction.
class StoreSchema
{
public:
    static constexpr int CurrentVersion = 1;

    // The file's schema version; -1 with *error set when it cannot be read.
    static int version(QSqlDatabase &db, QString *error = nullptr);

    // Runs the missing steps. False with *error set when a step fails (the
    // file is left as it was) or the file is newer than this program.
    static bool upgrade(QSqlDatabase &db, QString *error);

private:
    static bool runStep(QSqlDatabase &db, int toVersion, QString *error);
};

} // namespace tarvelo
