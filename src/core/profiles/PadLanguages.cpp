#include "core/profiles/PadLanguages.h"

#include "core/profiles/PadText.h"

#include <QSet>

namespace tarvelo {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.' || c == u':';
}

// The end of the markup that starts at `at` and is not an element: a comment,
// a processing instruction, a declaration or a stray closing tag. -1 when the
// text at `at` opens an element.
qsizetype skipNonElement(QStringView body, qsizetype at)
{
    const QStringView rest = body.sliced(at);
    if (rest.startsWith(u"<!--")) {
        const qsizetype end = body.indexOf(u"-->", at + 4);
        return end < 0 ? body.size() : end + 3;
    }
    if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?' || rest[1] == u'/')) {
        const qsizetype end = body.indexOf(u'>', at);
        return end < 0 ? body.size() : end + 1;
    }
    return -1;
}

} // namespace

PadLanguages PadLanguages::fromPadText(const QString &padText)
{
    PadLanguages languages;
    QSet<QString> seen; // a large file of many children must not cost their square
    const QString body = getString(padText, QStringLiteral("<Program_Descriptions>"));
    qsizetype at = 0;
    while ((at = body.indexOf(u'<', at)) >= 0) {
        if (const qsizetype next = skipNonElement(body, at); next >= 0) {
            at = next;
            continue;
        }
        qsizetype nameEnd = at + 1;
        while (nameEnd < body.size() && isNameChar(body[nameEnd]))
            ++nameEnd;
        const qsizetype tagEnd = body.indexOf(u'>', nameEnd);
        if (nameEnd == at + 1 || tagEnd < 0) { // a lone "<", or a tag cut off
            ++at;
            continue;
        }
        const QString name = body.sliced(at + 1, nameEnd - at - 1);
        const bool selfClosing = body[tagEnd - 1] == u'/';
        const QString closing = QStringLiteral("</") + name + u'>';
        const qsizetype textStart = tagEnd + 1;
        // An unclosed language runs to the end of the container.
        const qsizetype close = selfClosing ? textStart : body.indexOf(closing, textStart);
        const qsizetype textEnd = close < 0 ? body.size() : close;
        if (!seen.contains(name)) {
            seen.insert(name);
            languages.m_sections.append({name, body.sliced(textStart, textEnd - textStart)});
        }
        at = close < 0 ? body.size() : (selfClosing ? textStart : close + closing.size());
    }
    return languages;
}

QStringList PadLanguages::names() const
{
    QStringList names;
    for (const Section &section : m_sections)
        names.append(section.name);
    return names;
}

QString PadLanguages::preferred() const
{
    for (const Section &section : m_sections) {
        if (section.name == u"English")
            return section.name;
    }
    return m_sections.isEmpty() ? QString() : m_sections.first().name;
}

QString PadLanguages::section(const QString &language) const
{
    for (const Section &section : m_sections) {
        if (section.name == language)
            return section.text;
    }
    return {};
}

} // namespace tarvelo
