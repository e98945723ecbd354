// Feeds arbitrary file contents through the PAD text functions: bytes to text,
// entity decoding, and the 17 tag extractions plus one tag taken from the input.
// Besides the sanitizers, it checks what must hold for any input and compares
// the entity decoder with the plain 133-pass model on small texts.

#include "ReferenceEntityDecoder.h"
#include "profiles/PadText.h"
#include "profiles/ProfileFields.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace tarvelo;

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

QString closingTag(const QString &tag)
{
    return tag.first(1) + QLatin1Char('/') + tag.sliced(1);
}

// getString gives either nothing or the text between a tag and its closing tag.
void checkExtraction(const QString &text, const QString &tag)
{
    const QString value = getString(text, tag);
    if (tag.isEmpty()) {
        require(value.isEmpty(), "empty tag gives a value");
        return;
    }
    if (!value.isEmpty())
        require(text.contains(tag + value + closingTag(tag)), "value not between its tags");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Not copied and not NUL-terminated, so any read past the end is caught.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString raw = decodePadBytes(bytes);
    const QString text = decodeEntities(raw);
    QString own = raw;
    own.detach();
    require(decodeEntitiesInPlace(std::move(own)) == text, "decoding in place differs");

    require(text.size() <= raw.size(), "entity decoding made the text longer");
    if (!raw.contains(QLatin1Char('&')))
        require(text == raw, "text without ampersand changed");
    if (raw.size() <= 2048)
        require(text == reference::decodeEntities(raw), "differs from the 133-pass model");

    for (Field field : padLoadOrder())
        checkExtraction(text, fieldSpec(field).padTag);
    checkExtraction(text, text.left(text.indexOf(QLatin1Char('>')) + 1));
    return 0;
}
