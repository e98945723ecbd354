#pragma once

#include <QList>
#include <QString>

namespace tarvelo {

// The page script that writes the PAD URL into the text boxes a directory page
// names for it, and picks the category list's theme entry. The script's code
// is fixed; the PAD URL goes in only as a JSON literal, so no text of the
// user's can ever become code.
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
    static QString categoryList();   // "padcat"
    static QString categoryOption(); // "Desktop::Themes & Wallpaper"

    // The whole script for one fill. Its value is the number of inputs written.
    static QString build(const QString &padUrl);

    // The code the PAD URL literal is appended to; build() is this, the
    // literal, and ");".
    static const QString &code();

    // A JSON string literal that is also safe inside a script element and on
    // engines that take U+2028/U+2029 as line ends.
    static QString jsonLiteral(const QString &value);
};

} // namespace tarvelo
