#pragma once

// What must hold for the PAD text functions whatever bytes a file holds: the
// fuzzer checks it on the inputs it makes up, and the fuzz regression test
// replays the inputs that once broke it, through these same functions.

#include "ReferenceEntityDecoder.h"
#include "profiles/PadText.h"
#include "profiles/ProfileFields.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace tarvelo::checks {

// Texts longer than this are not compared with the slow model: it would make
// the fuzzer crawl on large inputs.
constexpr qsizetype ModelLimit = 2048;

inline QString closingTag(const QString &tag)
{
    return tag.first(1) + QLatin1Char('/') + tag.sliced(1);
}

// getString gives either nothing or the text between a tag and its closing tag.
inline const char *extractionProblem(const QString &text, const QString &tag)
{
    const QString value = getString(text, tag);
    if (tag.isEmpty())
        return value.isEmpty() ? nullptr : "empty tag gives a value";
    if (!value.isEmpty() && !text.contains(tag + value + closingTag(tag)))
        return "value not between its tags";
    return nullptr;
}

// Bytes to text, entity decoding, the 17 tag extractions and one tag taken
// from the input itself. Gives the first rule broken, or nullptr.
inline const char *padTextProblem(const QByteArray &bytes)
{
    const QString raw = decodePadBytes(bytes);
    const QString text = decodeEntities(raw);
    QString own = raw;
    own.detach();
    if (decodeEntitiesInPlace(std::move(own)) != text)
        return "decoding in place differs";
    if (text.size() > raw.size())
        return "entity decoding made the text longer";
    if (!raw.contains(QLatin1Char('&')) && text != raw)
        return "text without ampersand changed";
    if (raw.size() <= ModelLimit && text != reference::decodeEntities(raw))
        return "differs from the 133-pass model";

    for (Field field : padLoadOrder()) {
        if (const char *problem = extractionProblem(text, fieldSpec(field).padTag))
            return problem;
    }
    return extractionProblem(text, text.left(text.indexOf(QLatin1Char('>')) + 1));
}

} // namespace tarvelo::checks
