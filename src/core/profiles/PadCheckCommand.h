#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarvelo {

// `tarvelo --check-pad FILE...` for authors' release scripts: one line per
// problem on `out`, one line per unusable file on `err`.
class PadCheckCommand
{
public:
    enum ExitCode { AllPass = 0, SomeFieldFails = 1, SomeFileUnusable = 2 };

    static constexpr qsizetype ShownValueLength = 60;

    static int run(const QStringList &files, QTextStream &out, QTextStream &err);

    // The value as one line: at most ShownValueLength characters, "…" when
    // cut, line breaks and tabs written as \n \r \t.
    static QString shownValue(const QString &value);
};

} // namespace tarvelo
