#include "core/profiles/PadReader.h"

#include "core/profiles/PadFileSize.h"
#include "core/profiles/PadText.h"
#include "core/profiles/TidyValue.h"

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

bool inLanguageSection(Field field)
{
    return field == Field::Keywords || field == Field::ShortDesc || field == Field::LongDesc;
}

// The tag's text inside the language's section, or in the whole text when the
// file has no sections.
QString languageTag(const QString &padText, const PadLanguages &sections, const QString &language,
                    const QString &tag)
{
    if (sections.isEmpty())
        return getString(padText, tag);
    return getString(sections.section(language.isEmpty() ? sections.preferred() : language), tag);
}

QString authorFullName(const QString &padText)
{
    const QString first = getString(padText, QStringLiteral("<Author_First_Name>"));
    const QString last = getString(padText, QStringLiteral("<Author_Last_Name>"));
    return tidySingleLine(first + u' ' + last); // a missing part leaves no blank behind
}

QString fileSize(const QString &padText, ExtraValue extra)
{
    const PadFileSize size =
        PadFileSize::fromTexts(getString(padText, QStringLiteral("<File_Size_Bytes>")),
                               getString(padText, QStringLiteral("<File_Size_K>")),
                               getString(padText, QStringLiteral("<File_Size_MB>")));
    if (extra == ExtraValue::FileSizeBytes)
        return size.bytes;
    return extra == ExtraValue::FileSizeKB ? size.kilobytes : size.megabytes;
}

QString releaseDate(const QString &padText)
{
    const auto number = [&](const char16_t *tag, int digits) {
        bool ok = false;
        const int n = tidySingleLine(getString(padText, QString::fromUtf16(tag))).toInt(&ok);
        return ok && n > 0 ? QStringLiteral("%1").arg(n, digits, 10, QChar(u'0')) : QString();
    };
    const QString year = number(u"<Program_Release_Year>", 4);
    const QString month = number(u"<Program_Release_Month>", 2);
    const QString day = number(u"<Program_Release_Day>", 2);
    if (year.size() != 4 || month.size() != 2 || day.size() != 2)
        return {};
    return year + u'-' + month + u'-' + day;
}

QString singleLine(const QString &padText, const char16_t *tag)
{
    return tidySingleLine(getString(padText, QString::fromUtf16(tag)));
}

} // namespace

QString PadReader::Pad::value(Field field, const QString &language) const
{
    if (!inLanguageSection(field))
        return value(field);
    return languageTag(padText, languageSections, language, fieldSpec(field).padTag);
}

QString PadReader::Pad::extraValue(ExtraValue extra, const QString &language) const
{
    const auto described = [&](const char16_t *tag) {
        return languageTag(padText, languageSections, language, QString::fromUtf16(tag));
    };
    switch (extra) {
    case ExtraValue::Desc80:
        return tidySingleLine(described(u"<Char_Desc_80>"));
    case ExtraValue::Desc250:
        return tidyMultiLine(described(u"<Char_Desc_250>"));
    case ExtraValue::Desc2000:
        return tidyMultiLine(described(u"<Char_Desc_2000>"));
    case ExtraValue::AuthorFullName:
        return authorFullName(padText);
    case ExtraValue::FileSizeBytes:
    case ExtraValue::FileSizeKB:
    case ExtraValue::FileSizeMB:
        return fileSize(padText, extra);
    case ExtraValue::Category:
        return singleLine(padText, u"<Program_Category_Class>");
    case ExtraValue::AuthorLastName:
        return singleLine(padText, u"<Author_Last_Name>");
    case ExtraValue::Price:
        return singleLine(padText, u"<Program_Cost_Dollars>");
    case ExtraValue::LicenceType:
        return singleLine(padText, u"<Program_Type>");
    case ExtraValue::ReleaseDate:
        return releaseDate(padText);
    }
    return {};
}

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
    pad.languageSections = PadLanguages::fromPadText(pad.padText);
    const auto &order = padLoadOrder();
    for (std::size_t k = 0; k < order.size(); ++k) {
        const QString &tag = fieldSpec(order[k]).padTag;
        pad.values[k] = inLanguageSection(order[k])
                            ? languageTag(pad.padText, pad.languageSections, QString(), tag)
                            : getString(pad.padText, tag);
    }
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
