#pragma once

#include <QString>
#include <QStringList>

namespace tarvelo {

// File systems a test mounts for itself to make writes fail the way they do on
// a user's machine (a read-only file system, a full disk), also for root, whom
// permission bits do not stop. The first use moves the calling thread into a
// mount namespace of its own: nobody else sees these mounts, and they vanish
// with the process even when it crashes. Only the thread that made them sees
// them, which is the test's main thread.
// Mounting needs CAP_SYS_ADMIN; without it every call fails and says why.
class ScratchMounts
{
public:
    ScratchMounts() = default;
    ~ScratchMounts(); // unmounts what it mounted, last first
    ScratchMounts(const ScratchMounts &) = delete;
    ScratchMounts &operator=(const ScratchMounts &) = delete;

    // An empty tmpfs of `bytes` (rounded up to whole pages) on the existing
    // folder, owned by the caller with mode 0700.
    bool mountTmpfs(const QString &folder, qint64 bytes);
    // Mounts the folder on itself, so it can be made read-only alone.
    bool bindToItself(const QString &folder);
    // Makes a mount made here read-only, or writable again.
    bool setReadOnly(const QString &folder, bool readOnly);
    // Writes the file "filler" into the folder until its file system has no
    // byte left; removing it makes room again.
    bool fill(const QString &folder);

    // Why the last call failed.
    QString error() const { return m_error; }

private:
    bool enterOwnNamespace();
    bool fail(QStringView what, const QString &folder = {});

    struct Mount
    {
        QString folder;
        QString options; // tmpfs options; empty for a bind mount
    };
    QList<Mount> m_mounts;
    QString m_error;
};

} // namespace tarvelo
