#pragma once

#include <QString>

#include <array>

namespace tarvelo {

constexpr int ProfileCount = 3;

// The 18 fields every profile has. The window holds one text box per field and
// profile.
enum class Field {
    Author,
    Email,
    Company,
    ProgName,
    ProgVer,
    FileSize,
    OS,
    SysReq,
    HomePage,
    ProgURL,
    SecURL,
    SShotURL,
    ProgIcon,
    ShortDesc,
    LongDesc,
    Keywords,
    PADURL,
    LocalPAD,
};
constexpr int FieldCount = 18;

struct FieldSpec
{
    Field field = Field::Author;
    QString name;        // control array name, e.g. "txtAuthor"
    QString padTag;      // opening PAD tag, empty for txtLocalPAD
    QString label;       // caption of the label beside the box (detail panel fields)
    QString defaultText; // hint the empty box shows; never a value
    bool multiLine = false;
    bool scrollBar = false;
    QString toolTip;      // the box's own tooltip
    QString labelToolTip; // the caption label's tooltip
    QString spokenName;   // what a screen reader calls the box, without the profile
};

// All 18 fields in the order of the detail panel, then the PAD URL and local PAD.
const std::array<FieldSpec, FieldCount> &fieldTable();
const FieldSpec &fieldSpec(Field field);

// The 17 fields a PAD file fills, in the order they are written.
const std::array<Field, 17> &padLoadOrder();

// Line break inside a multi-line field's value.
inline const QString &crlf()
{
    static const QString s = QStringLiteral("\r\n");
    return s;
}

} // namespace tarvelo
