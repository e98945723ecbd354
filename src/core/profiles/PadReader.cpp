#include "core/profiles/PadReader.h"

#include "core/profiles/PadText.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvelo {

namespace {

// Closes the descriptor on every way out.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads until the end of the file, refusing to go past `limit` bytes.
std::optional<QByteArray> readToEnd(int fd, qint64 sizeHint, qint64 limit)
{
    QByteArray bytes;
    bytes.reserve(qMin(sizeHint, limit));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0)
            return bytes;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (bytes.size() + got > limit) // the file grew, or reports no size (/proc)
            return std::nullopt;
        bytes.append(chunk, got);
    }
}

} // namespace

QString PadReader::Pad::value(Field field) const
{
    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (order[k] == field)
            return values[k];
    }
    return {};
}

std::optional<QByteArray> PadReader::readFileBytes(const QString &path)
{
    // A NUL would cut the name short and open some other file.
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking so that opening a FIFO with no writer returns at once; the
    // type check below then refuses it. Regular files ignore the flag.
    const FileDescriptor file(
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return std::nullopt;
    struct stat info = {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    if (info.st_size > MaxFileSize)
        return std::nullopt;
    return readToEnd(file.get(), info.st_size, MaxFileSize);
}

PadReader::Pad PadReader::fromBytes(const QByteArray &bytes)
{
    Pad pad;
    pad.padText = decodeEntitiesInPlace(decodePadBytes(bytes));
    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k)
        pad.values[k] = getString(pad.padText, fieldSpec(order[k]).padTag);
    return pad;
}

std::optional<PadReader::Pad> PadReader::read(const QString &path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return fromBytes(*bytes);
}

} // namespace tarvelo
