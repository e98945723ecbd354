#pragma once

#include "core/profiles/PadRules.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarvelo {

// Checks a PAD file against the rules of the PAD specification, as software
// directories validate it: each field's text as it stands in the file.
class PadCheck
{
public:
    struct Problem
    {
        QString path;
        QString documentation; // the rule's own words
        QString value;         // the element's text, untrimmed; empty when missing
    };

    struct Result
    {
        QString error;        // why the file is not a PAD file, or could not be read
        QString rulesVersion; // the version whose rules were applied
        QList<Problem> problems;
        bool isPad() const { return error.isEmpty(); }
        bool passes() const { return isPad() && problems.isEmpty(); }
    };

    // Against the rules of the version the file declares.
    static Result checkBytes(const QByteArray &bytes);
    static Result checkBytes(const QByteArray &bytes, const PadRules &rules);
    static Result checkFile(const QString &path);

    // Fields only the PAD repository fills in; an author cannot supply them.
    static bool isIssuedByRepository(const QString &path);
};

} // namespace tarvelo
