#include "ScratchMounts.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

ScratchMounts::~ScratchMounts()
{
    for (auto mount = m_mounts.crbegin(); mount != m_mounts.crend(); ++mount)
        ::umount2(nativePath(mount->folder).constData(), MNT_DETACH);
}

bool ScratchMounts::fail(QStringView what, const QString &folder)
{
    const int error = errno; // before anything here may change it
    m_error = what.toString() + folder + u": "_s + QString::fromLocal8Bit(std::strerror(error));
    return false;
}

bool ScratchMounts::enterOwnNamespace()
{
    // Once per thread: a second unshare would only stack another namespace.
    static thread_local bool entered = false;
    if (entered)
        return true;
    if (::unshare(CLONE_NEWNS) != 0)
        return fail(u"no mount namespace of our own (needs root)");
    // Nothing mounted from here on may reach the machine's own mount table.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return fail(u"cannot make the mounts private");
    entered = true;
    return true;
}

bool ScratchMounts::mountTmpfs(const QString &folder, qint64 bytes)
{
    if (!enterOwnNamespace())
        return false;
    const QString options =
        u"size=%1,mode=0700,uid=%2,gid=%3"_s.arg(bytes).arg(::getuid()).arg(::getgid());
    if (::mount("tarvelo-test", nativePath(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.toLatin1().constData()) != 0)
        return fail(u"cannot mount a tmpfs on ", folder);
    m_mounts.append({folder, options});
    return true;
}

bool ScratchMounts::bindToItself(const QString &folder)
{
    if (!enterOwnNamespace())
        return false;
    const QByteArray path = nativePath(folder);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        return fail(u"cannot bind ", folder);
    m_mounts.append({folder, QString()});
    return true;
}

bool ScratchMounts::setReadOnly(const QString &folder, bool readOnly)
{
    const auto mount = std::find_if(m_mounts.cbegin(), m_mounts.cend(),
                                    [&](const Mount &m) { return m.folder == folder; });
    if (mount == m_mounts.cend()) {
        m_error = folder + u" was not mounted here"_s;
        return false;
    }
    unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    if (mount->options.isEmpty())
        flags |= MS_BIND;
    else
        flags |= MS_NOSUID | MS_NODEV;
    if (::mount(nullptr, nativePath(folder).constData(), nullptr, flags,
                mount->options.isEmpty() ? nullptr : mount->options.toLatin1().constData()) != 0)
        return fail(u"cannot remount ", folder);
    return true;
}

bool ScratchMounts::fill(const QString &folder)
{
    QFile filler(folder + u"/filler"_s);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(u"cannot create ", filler.fileName());
    // Large blocks first, then single bytes, so that not even a short file fits.
    for (const qsizetype block : {qsizetype(64 * 1024), qsizetype(1)}) {
        const QByteArray bytes(block, 'f');
        while (filler.write(bytes) == block) {
        }
    }
    return true;
}

} // namespace tarvelo
