#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace tarvelo {

// The campaign store's file before SQLite reads it: whether its folder and
// the file can be written, the lock that keeps a second running Tarvelo out,
// the first bytes of a database, and moving a damaged file aside.
class StoreFile
{
public:
    explicit StoreFile(const QString &path);
    ~StoreFile();
    StoreFile(const StoreFile &) = delete;
    StoreFile &operator=(const StoreFile &) = delete;

    // Why the file cannot be written; empty when it can. Creates the folder.
    QString writeProblem() const;

    // Takes "<file>.lock" until unlock() or the end of this object; why not
    // when another copy holds it or it cannot be made.
    QString lock();
    void unlock();

    // Why the file is not an SQLite database; empty for one, and for a
    // missing or empty file, which becomes a new store.
    QString headerProblem() const;
    bool hasData() const;

    // Moves the file and its write-ahead log to "<file>.damaged-<local time>",
    // never over another file. The new path; empty when it could not move.
    QString keepAside() const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace tarvelo
