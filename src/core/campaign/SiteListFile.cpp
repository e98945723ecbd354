#include "core/campaign/SiteListFile.h"

#include "core/campaign/SiteAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

constexpr int MaxFields = 3;

// Takes the bytes as UTF-8 text (a BOM is dropped); false for bytes no text
// editor would show as text.
bool decodeText(const QByteArray &bytes, QString *text)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Moves pos past the line end at pos: CR LF, LF or a lone CR.
void skipLineEnd(QStringView text, qsizetype &pos)
{
    if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
        ++pos;
    ++pos;
}

QStringView nextLine(QStringView text, qsizetype &pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && !isLineEnd(text[pos]))
        ++pos;
    const QStringView line = text.sliced(start, pos - start);
    if (pos < text.size())
        skipLineEnd(text, pos);
    return line;
}

// One CSV record, and why it cannot be read when it cannot. Only the first
// fields are kept; fieldCount counts them all.
struct CsvRecord
{
    int line = 0;
    QStringList fields;
    int fieldCount = 0;
    QString problem;
    bool unterminated = false;

    bool isBlank() const
    {
        return std::all_of(fields.cbegin(), fields.cend(),
                           [](const QString &field) { return field.isEmpty(); });
    }
};

class CsvReader
{
public:
    explicit CsvReader(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    CsvRecord next();

private:
    void endField(CsvRecord &record);
    // Reads a quoted field from its opening quote; false when it never ends.
    bool readQuoted();

    QStringView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QString m_field;
    bool m_quoted = false;
};

CsvRecord CsvReader::next()
{
    CsvRecord record;
    record.line = m_line;
    m_field.clear();
    m_quoted = false;
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos];
        if (c == u'"' && !m_quoted && m_field.trimmed().isEmpty()) {
            if (!readQuoted()) {
                record.unterminated = true;
                record.problem = u"unterminated quote (the rest of the file was not read)"_s;
                return record;
            }
            while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
                ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos])) {
                record.problem = u"text after a closing quote"_s;
                nextLine(m_text, m_pos);
                ++m_line;
                return record;
            }
        } else if (c == u',') {
            endField(record);
            ++m_pos;
        } else if (isLineEnd(c)) {
            skipLineEnd(m_text, m_pos);
            ++m_line;
            break;
        } else {
            m_field += c;
            ++m_pos;
        }
    }
    endField(record);
    return record;
}

void CsvReader::endField(CsvRecord &record)
{
    if (++record.fieldCount <= MaxFields)
        record.fields.append(m_quoted ? m_field : m_field.trimmed());
    m_field.clear();
    m_quoted = false;
}

bool CsvReader::readQuoted()
{
    m_field.clear();
    m_quoted = true;
    ++m_pos;
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos++];
        if (c == u'"') {
            if (m_pos < m_text.size() && m_text[m_pos] == u'"') {
                m_field += c;
                ++m_pos;
                continue;
            }
            return true;
        }
        if (c == u'\n')
            ++m_line;
        m_field += c;
    }
    return false;
}

// Keeps the good entries, once per site, and a reason for every other line.
class EntryCollector
{
public:
    void add(int line, const SiteEntry &entry);
    void reject(int line, const QString &reason) { m_result.problems.append({line, reason}); }
    SiteListFile::Import result() const { return m_result; }

private:
    SiteListFile::Import m_result;
    QHash<QString, int> m_lineOfKey;
};

void EntryCollector::add(int line, const SiteEntry &entry)
{
    if (entry.address.size() > SiteListFile::MaxAddressLength)
        return reject(
            line, u"an address longer than %1 characters"_s.arg(SiteListFile::MaxAddressLength));
    const QString key = SiteAddress::key(entry.address);
    if (key.isEmpty())
        return reject(line, SiteAddress::problem(entry.address));
    const auto seen = m_lineOfKey.constFind(key);
    if (seen != m_lineOfKey.cend())
        return reject(line, u"same site as line %1"_s.arg(*seen));
    m_lineOfKey.insert(key, line);
    m_result.entries.append(entry);
}

SiteListFile::Import parseText(QStringView text)
{
    EntryCollector collector;
    qsizetype pos = 0;
    for (int line = 1; pos < text.size(); ++line) {
        const QStringView address = nextLine(text, pos).trimmed();
        if (!address.isEmpty() && !address.startsWith(u'#'))
            collector.add(line, {address.toString(), {}, {}});
    }
    return collector.result();
}

bool isHeader(const CsvRecord &record)
{
    const QString &first = record.fields.constFirst();
    return first.compare("url"_L1, Qt::CaseInsensitive) == 0 ||
           first.compare("address"_L1, Qt::CaseInsensitive) == 0;
}

SiteListFile::Import parseCsv(QStringView text)
{
    EntryCollector collector;
    CsvReader reader(text);
    bool first = true;
    while (!reader.atEnd()) {
        const CsvRecord record = reader.next();
        if (!record.problem.isEmpty()) {
            collector.reject(record.line, record.problem);
            if (record.unterminated)
                break;
            continue;
        }
        if (record.isBlank())
            continue;
        const bool header = first && isHeader(record);
        first = false;
        if (header)
            continue;
        if (record.fieldCount > MaxFields)
            collector.reject(record.line, u"more than %1 fields"_s.arg(MaxFields));
        else
            collector.add(record.line,
                          {record.fields.value(0), record.fields.value(1), record.fields.value(2)});
    }
    return collector.result();
}

SiteListFile::Import wholeFileProblem(const QString &reason)
{
    return {{}, {{0, reason}}};
}

QString tooLarge()
{
    return u"the file is larger than %1 MB, too large for a site list"_s.arg(
        SiteListFile::MaxBytes / (1024 * 1024));
}

QByteArray csvField(const QString &value)
{
    const bool plain = value.trimmed().size() == value.size() && !value.contains(u',') &&
                       !value.contains(u'"') && !value.contains(u'\n') && !value.contains(u'\r');
    if (plain)
        return value.toUtf8();
    QString quoted = value;
    quoted.replace(u'"', "\"\""_L1);
    return '"' + quoted.toUtf8() + '"';
}

} // namespace

SiteListFile::Format SiteListFile::formatFor(const QString &filePath)
{
    return QFileInfo(filePath).suffix().compare("csv"_L1, Qt::CaseInsensitive) == 0 ? Format::Csv
                                                                                    : Format::Text;
}

SiteListFile::Import SiteListFile::read(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return wholeFileProblem(u"cannot read the file: %1"_s.arg(file.errorString()));
    if (file.size() > MaxBytes)
        return wholeFileProblem(tooLarge());
    // Read no more than the limit: a device or a growing file may say it is empty.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes)
        return wholeFileProblem(tooLarge());
    if (file.error() != QFileDevice::NoError)
        return wholeFileProblem(u"cannot read the file: %1"_s.arg(file.errorString()));
    return parse(bytes, formatFor(filePath));
}

SiteListFile::Import SiteListFile::parse(const QByteArray &bytes, Format format)
{
    QString text;
    if (!decodeText(bytes, &text))
        return wholeFileProblem(u"not a text file: a site list is plain text in UTF-8"_s);
    return format == Format::Csv ? parseCsv(text) : parseText(text);
}

bool SiteListFile::write(const QString &filePath, const QList<SiteEntry> &entries, QString *error)
{
    QSaveFile file(filePath);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(toBytes(entries, formatFor(filePath)));
        if (file.commit())
            return true;
    }
    if (error)
        *error =
            u"cannot write %1: %2"_s.arg(QDir::toNativeSeparators(filePath), file.errorString());
    return false;
}

QByteArray SiteListFile::toBytes(const QList<SiteEntry> &entries, Format format)
{
    QByteArray bytes;
    if (format == Format::Text) {
        for (const SiteEntry &entry : entries)
            bytes += entry.address.toUtf8() + '\n';
        return bytes;
    }
    bytes += "url,name,note\r\n";
    for (const SiteEntry &entry : entries)
        bytes += csvField(entry.address) + ',' + csvField(entry.name) + ',' + csvField(entry.note) +
                 "\r\n";
    return bytes;
}

} // namespace tarvelo
