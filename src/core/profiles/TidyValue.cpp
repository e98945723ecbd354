#include "core/profiles/TidyValue.h"

#include <QStringList>

namespace tarvelo {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(QChar c)
{
    return c.isSpace() && !isLineBreak(c);
}

QStringView trimBlanks(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.sliced(begin, end - begin);
}

// The lines of the text, split at CR LF, LF or CR.
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (!isLineBreak(text[k]))
            continue;
        lines.append(text.sliced(start, k - start));
        if (text[k] == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
            ++k;
        start = k + 1;
    }
    lines.append(text.sliced(start));
    return lines;
}

} // namespace

QString tidySingleLine(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    bool pendingSpace = false;
    for (const QChar c : raw) {
        if (c.isSpace()) { // blanks and line breaks alike
            pendingSpace = !out.isEmpty();
            continue;
        }
        if (pendingSpace)
            out.append(u' ');
        pendingSpace = false;
        out.append(c);
    }
    return out;
}

QString tidyMultiLine(const QString &raw)
{
    QList<QStringView> lines = splitLines(raw);
    for (QStringView &line : lines)
        line = trimBlanks(line);
    while (!lines.isEmpty() && lines.first().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QString out;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k > 0)
            out.append(crlf());
        out.append(lines[k]);
    }
    return out;
}

bool tidiesAsMultiLine(Field field)
{
    // The keywords box has several lines, but its value is a list of words that
    // a directory takes on one line: line breaks and runs of blanks between the
    // words are layout, not content, so they collapse like any single line.
    if (field == Field::Keywords)
        return false;
    return fieldSpec(field).multiLine;
}

QString tidyValue(Field field, const QString &raw)
{
    return tidiesAsMultiLine(field) ? tidyMultiLine(raw) : tidySingleLine(raw);
}

} // namespace tarvelo
