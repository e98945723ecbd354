#pragma once

// What must hold for the PAD text functions whatever bytes a file holds, as
// the fuzzer checks it and the fuzz regression test replays it.

#include "ReferenceEntityDecoder.h"
#include "core/profiles/PadText.h"
#include "core/profiles/ProfileFields.h"

namespace tarvelo::checks {

// Longer texts are not compared with the slow model: the fuzzer would crawl.
constexpr qsizetype ModelLimit = 2048;

// getString gives either nothing or the text between a tag and its closing tag.
inline const char *extractionProblem(const QString &text, const QString &tag)
{
    const QString value = getString(text, tag);
    if (tag.isEmpty())
        return value.isEmpty() ? nullptr : "empty tag gives a value";
    const QString closing = tag.first(1) + QLatin1Char('/') + tag.sliced(1);
    return value.isEmpty() || text.contains(tag + value + closing) ? nullptr
                                                                   : "value not between its tags";
}

// Bytes to text, entity decoding, the 17 tag extractions and one tag taken
// from the input itself. Gives the first rule broken, or nullptr.
inline const char *padTextProblem(const QByteArray &bytes)
{
    const QString raw = decodePadBytes(bytes);
    const QString text = decodeEntities(raw);
    if (decodeEntitiesInPlace(QString(raw.data(), raw.size())) != text)
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
