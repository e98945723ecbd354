#pragma once

#include <QJsonValue>
#include <QList>
#include <QString>

namespace tarvelo {

// The page script that writes the PAD URL into the text boxes a directory page
// names for it, and picks the program's category in the category list. The
// script's code is fixed; the PAD URL and the category go in only as JSON
// literals, so no text of the user's can ever become code.
class AutoFillScript
{
public:
    struct Target
    {
        QString form;    // empty, or the form the element must be a member of
        QString element; // name or id of the element
    };

    // The input names written, in the order they are written.
    static const QList<Target> &targets();
    static QString categoryList(); // "padcat"

    // The whole script for one fill. Its value is the number of inputs
    // written. The category list gets the option whose text is the category
    // ("Desktop::Themes & Wallpaper"); an empty category leaves it alone.
    static QString build(const QString &padUrl, const QString &category = {});

    // The code the literals are appended to; build() is this, the PAD URL
    // literal, a comma, the category literal, and ");".
    static const QString &code();

    // A JSON string literal that is also safe inside a script element and on
    // engines that take U+2028/U+2029 as line ends.
    static QString jsonLiteral(const QString &value);
    // The same for any JSON value (an object of values, a table).
    static QString jsonCode(const QJsonValue &value);
};

} // namespace tarvelo
