#pragma once

#include <QByteArray>
#include <QString>

namespace tarvelo {

// Text functions that turn the bytes of a PAD file into field values. They are
// plain text operations, not an XML parser: a PAD file in the wild is often not
// well-formed XML, and the values must come out the same whatever its shape.

// Replaces the character entities of a PAD text by their characters. The table
// is "&quot;", "&amp;", "&apos;", "&lt;", "&gt;" and "&#x80;" to "&#xff;" (two
// lower-case hex digits, Windows-1252 characters), applied as if row after row
// over the whole text, in that order. So "&amp;lt;" ends as "<" but
// "&amp;quot;" as "&quot;" and "&amp;amp;" as "&amp;". Runs in one pass.
QString decodeEntities(const QString &text);
// The same, reusing the text's own buffer when nothing else shares it.
QString decodeEntitiesInPlace(QString &&text);

// The text between the first occurrence of startStr (an opening tag such as
// "<Program_Name>") and the first occurrence of its closing tag, both searched
// from the start of padText, case-sensitively. Empty when either is missing,
// when the closing tag comes first, or when startStr is empty. Nothing is
// trimmed.
QString getString(const QString &padText, const QString &startStr);

// Reads the bytes of a PAD file as text:
// - "FF FE" or "FE FF" at the start: UTF-16, little- or big-endian, of the rest.
//   A last odd byte and any unpaired surrogate become U+FFFD.
// - Otherwise a UTF-8 byte-order mark is dropped; the remaining bytes are read
//   as UTF-8 when they are valid UTF-8, else as Windows-1252, one character per
//   byte (the five bytes that code page leaves unassigned keep their own code).
// Plain ASCII reads the same in every case.
QString decodePadBytes(const QByteArray &bytes);

} // namespace tarvelo
