#include "core/profiles/PadLanguages.h"

#include "core/profiles/PadText.h"

#include <QSet>

#include <optional>

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

struct Element
{
    QString name; // empty for a lone "<"
    qsizetype textStart = 0;
    qsizetype textEnd = 0;
    qsizetype next = 0; // where the scan goes on
};

// The element whose opening tag starts at `at`; none when no tag ends after it.
std::optional<Element> elementAt(const QString &body, qsizetype at)
{
    qsizetype nameEnd = at + 1;
    while (nameEnd < body.size() && isNameChar(body[nameEnd]))
        ++nameEnd;
    if (nameEnd == at + 1)
        return Element{{}, 0, 0, at + 1};
    const qsizetype tagEnd = body.indexOf(u'>', nameEnd);
    if (tagEnd < 0) // searching again from every later "<" would cost the square
        return std::nullopt;
    Element element{body.sliced(at + 1, nameEnd - at - 1), tagEnd + 1, tagEnd + 1, tagEnd + 1};
    if (body[tagEnd - 1] == u'/') // self-closing: no text
        return element;
    const QString closing = QStringLiteral("</") + element.name + u'>';
    const qsizetype close = body.indexOf(closing, element.textStart);
    // An unclosed language runs to the end of the container.
    element.textEnd = close < 0 ? body.size() : close;
    element.next = close < 0 ? body.size() : close + closing.size();
    return element;
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
        const auto element = elementAt(body, at);
        if (!element)
            break;
        if (!element->name.isEmpty() && !seen.contains(element->name)) {
            seen.insert(element->name);
            const qsizetype length = element->textEnd - element->textStart;
            languages.m_sections.append({element->name, body.sliced(element->textStart, length)});
        }
        at = element->next;
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
