#pragma once

#include "core/profiles/ExtraValue.h"
#include "core/profiles/ProfileFields.h"

#include <QJsonObject>
#include <QString>

#include <functional>

namespace tarvelo {

// The values "Fill form" hands to the page, by name: the current program's
// field boxes and the further values of its PAD file, tidied as a paste
// tidies them. The names are also what the store keeps for a taught box.
class FormFill
{
public:
    using FieldText = std::function<QString(Field)>;      // a field box's text
    using ExtraText = std::function<QString(ExtraValue)>; // a value of the PAD file

    // Every value name with its text; a value the program lacks is empty.
    static QJsonObject values(const FieldText &field, const ExtraText &extra);

    // The value name a pasted field is taught as; empty for the local PAD path.
    static QString valueName(Field field);
    // The same for a further value; empty for the category.
    static QString valueName(ExtraValue extra);
};

} // namespace tarvelo
