#pragma once

#include "core/profiles/ExtraValue.h"
#include "core/profiles/PadLanguages.h"
#include "core/profiles/ProfileFields.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace tarvelo {

// Reads one local PAD file into the 17 values a profile takes from it.
class PadReader
{
public:
    // A PAD file is a few kilobytes; anything near this size is not one. The
    // limit keeps a wrong choice (a video, a disk image) from stalling the
    // window while its text is read, decoded and put into the boxes, and still
    // lets a 10 MB stress file load.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    struct Pad
    {
        QString padText;                  // the whole file, decoded, entities replaced
        PadLanguages languageSections;    // of padText
        std::array<QString, 17> values;   // in padLoadOrder() order, preferred language
        QString value(Field field) const; // empty for a field no tag fills

        // The file's languages in file order, and the one the 17 values use:
        // English when the file has it, else the first. Both empty for a file
        // without language sections.
        QStringList languages() const { return languageSections.names(); }
        QString language() const { return languageSections.preferred(); }

        // The field's value as the file writes it, in the given language for
        // the keywords and the short and long descriptions (empty for a
        // language the file lacks; an empty language is the preferred one).
        // A file without language sections gives the first occurrence in the
        // whole file, whatever the language.
        QString value(Field field, const QString &language) const;

        // A further value, tidied (descriptions of 250 and 2000 characters
        // line by line, the rest as one line); `language` as for value().
        QString extraValue(ExtraValue extra, const QString &language = {}) const;
    };

    // Empty when the path is empty, names nothing, names something other than a
    // regular file, is larger than MaxFileSize or cannot be read to its end.
    // Never blocks on a pipe or device and never leaves the file open.
    static std::optional<Pad> read(const QString &path);

    // The same without the file: decoding and extraction of the file's bytes.
    static Pad fromBytes(const QByteArray &bytes);

    // The whole content of a regular file, under the same rules as read().
    static std::optional<QByteArray> readFileBytes(const QString &path);
};

} // namespace tarvelo
