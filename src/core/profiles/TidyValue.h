#pragma once

#include "core/profiles/ProfileFields.h"

#include <QString>

namespace tarvelo {

// One rule for every value that leaves a profile for a web page, whatever the
// route (paste, menu, keypad, automatic fill). Blanks are spaces, tabs and the
// other Unicode white space; line breaks are CR LF, LF and CR and are not
// blanks. The rule is idempotent: a tidy value stays as it is.

// Drops blanks and line breaks around the value and turns every run of them
// inside it into one space.
QString tidySingleLine(const QString &raw);

// Drops blanks at both ends of every line and the empty lines before the first
// and after the last line with text. Runs of blanks inside a line and empty
// lines between paragraphs stay. Lines are joined by CR LF, as in a profile.
QString tidyMultiLine(const QString &raw);

// Whether the field's value is tidied line by line (SysReq, LongDesc).
bool tidiesAsMultiLine(Field field);

// The field's value under its rule.
QString tidyValue(Field field, const QString &raw);

} // namespace tarvelo
