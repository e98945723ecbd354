#include "core/campaign/StoreFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

// Every SQLite database file starts with these 16 bytes, and its header is
// 100 bytes long.
constexpr char sqliteMagic[] = "SQLite format 3";
constexpr qint64 sqliteHeaderSize = 100;

} // namespace

StoreFile::StoreFile(const QString &path) : m_path(path) {}

StoreFile::~StoreFile() = default;

QString StoreFile::writeProblem() const
{
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder))
        return u"the folder %1 cannot be created"_s.arg(QDir::toNativeSeparators(folder));
    // Tried, not asked: root passes every permission test, yet /proc or a
    // read-only mount still refuse.
    QTemporaryFile probe(folder + u"/.tarvelo-XXXXXX"_s);
    if (!probe.open())
        return u"the folder %1 cannot be written (%2)"_s.arg(QDir::toNativeSeparators(folder),
                                                             probe.errorString());
    if (file.exists() && !file.isWritable())
        return u"the file is read-only"_s;
    return {};
}

QString StoreFile::lock()
{
    m_lock = std::make_unique<QLockFile>(m_path + u".lock"_s);
    // Held as long as the program runs: only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return {};
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    if (error == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, app;
        QLockFile(m_path + u".lock"_s).getLockInfo(&pid, &host, &app);
        return u"it is in use by another running Tarvelo (process %1)"_s.arg(pid);
    }
    if (error == QLockFile::PermissionError)
        return u"its lock file %1.lock cannot be written (read-only folder)"_s.arg(
            QDir::toNativeSeparators(m_path));
    return u"its lock file %1.lock cannot be made"_s.arg(QDir::toNativeSeparators(m_path));
}

void StoreFile::unlock()
{
    m_lock.reset();
}

bool StoreFile::hasData() const
{
    return QFileInfo(m_path).size() > 0;
}

QString StoreFile::headerProblem() const
{
    if (!hasData())
        return {};
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return u"it cannot be read: %1"_s.arg(file.errorString());
    const QByteArray head = file.read(sqliteHeaderSize);
    if (head.size() < sqliteHeaderSize || !head.startsWith(QByteArray(sqliteMagic, 16)))
        return u"it is not an SQLite database"_s;
    return {};
}

QString StoreFile::keepAside() const
{
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    QString aside = u"%1.damaged-%2"_s.arg(m_path, stamp);
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + u"-wal"_s); ++n)
        aside = u"%1.damaged-%2-%3"_s.arg(m_path, stamp).arg(n);
    if (!QFile::rename(m_path, aside))
        return {};
    // The log holds changes not yet in the file; it keeps its pairing.
    for (const QString &suffix : {u"-wal"_s, u"-shm"_s}) {
        if (QFileInfo::exists(m_path + suffix))
            QFile::rename(m_path + suffix, aside + suffix);
    }
    return aside;
}

} // namespace tarvelo
