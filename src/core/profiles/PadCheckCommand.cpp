#include "core/profiles/PadCheckCommand.h"

#include "core/profiles/PadCheck.h"

namespace tarvelo {

QString PadCheckCommand::shownValue(const QString &value)
{
    qsizetype length = qMin(value.size(), ShownValueLength);
    if (length < value.size() && value.at(length - 1).isHighSurrogate())
        --length; // never split a character in two
    QString shown = value.first(length);
    shown.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"))
        .replace(u'\t', QStringLiteral("\\t"));
    return length < value.size() ? shown + u'…' : shown;
}

int PadCheckCommand::run(const QStringList &files, QTextStream &out, QTextStream &err)
{
    bool someFieldFails = false;
    bool someFileUnusable = false;
    for (const QString &file : files) {
        const PadCheck::Result result = PadCheck::checkFile(file);
        if (!result.isPad()) {
            err << file << ": " << result.error << Qt::endl;
            someFileUnusable = true;
            continue;
        }
        for (const PadCheck::Problem &problem : result.problems) {
            out << file << ": " << problem.path << ": " << problem.documentation << " (value \""
                << shownValue(problem.value) << "\")\n";
        }
        someFieldFails = someFieldFails || !result.problems.isEmpty();
    }
    out.flush();
    if (someFileUnusable)
        return SomeFileUnusable;
    return someFieldFails ? SomeFieldFails : AllPass;
}

} // namespace tarvelo
