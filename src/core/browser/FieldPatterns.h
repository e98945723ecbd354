#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

namespace tarvelo {

// How the form fill recognises what a box of a directory's form asks for,
// from the text around it: per value name, the words that say it (English,
// German, French, Spanish, Italian, Russian) and the words that say it is
// something else ("Company name" is no program name). The page script gets
// the tables as JSON and applies them in the same order as classify().
class FieldPatterns
{
public:
    struct Rule
    {
        QString field; // a value name of FormFill, or a name the script resolves
        QString yes;   // regular expression: whole words that name the field
        QString no;    // regular expression: word starts that rule it out
    };

    // In the order they are tried: the first rule that matches names the field.
    static const QList<Rule> &rules();

    // The field a label, hint or box name (as words) asks for; empty when none.
    // The same rules, in the same order, as the page script applies.
    static QString classify(const QString &text);

    // Whether the text marks a box no program may fill (a captcha, a code).
    static bool isCaptcha(const QString &text);

    // The number of characters a label states as the box's limit, or 0.
    static int statedLimit(const QString &text);

    // Everything above as the page script takes it, with the autocomplete
    // tokens and the box names the auto-fill writes the PAD URL into.
    static QJsonObject json();
};

} // namespace tarvelo
