#pragma once

#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QVariant>

namespace tarvelo {

// The page script behind "Fill form" (resources/scripts/formfill.js): one
// round trip writes every recognised, still empty box of the page and its
// same-origin frames. The code is fixed; the patterns, the values and the
// boxes taught on the site go in only as JSON literals.
class FormFillScript
{
public:
    struct Outcome
    {
        int filled = 0;
        int left = 0;    // boxes the page asks for that stay empty
        int tooLong = 0; // of those, boxes the program's text is too long for
        bool ran = false;

        // What the fill script answered; ran is false for anything else.
        static Outcome from(const QVariant &answer);
        // "Filled 12 boxes; 3 left for you", and the boxes text was too long for.
        QString statusText() const;
    };

    // The script whose value is the fill's Outcome. taught: box description
    // (as describeFocused() gives it) to value name.
    static QString fill(const QJsonObject &values, const QHash<QString, QString> &taught = {});

    // The script whose value is the description of the box that has the focus
    // in the page (inside same-origin frames too), "" when no box has it.
    static QString describeFocused();

    // The function the arguments are appended to.
    static const QString &code();
};

} // namespace tarvelo
