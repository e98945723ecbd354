#include "core/filling/FieldActions.h"

#include "core/filling/KeyState.h"

using namespace Qt::StringLiterals;

namespace tarvelo {

const std::array<FieldButtonSpec, FieldButtonCount> &fieldButtonTable()
{
    // Some captions carry two blanks before the bracket; they are kept.
    static const std::array<FieldButtonSpec, FieldButtonCount> table = {{
        {u"cmdProgName"_s, u"Program Name (1)"_s, Field::ProgName, vk::Numpad0 + 1, 0, 30,
         u"Use Number Pad Keys"_s},
        {u"cmdProgVer"_s, u"Program Version  (2)"_s, Field::ProgVer, vk::Numpad0 + 2, 1695, 30},
        {u"cmdAuthor"_s, u"Author (3)"_s, Field::Author, vk::Numpad0 + 3, 3375, 30},
        {u"cmdEmail"_s, u"Email (4)"_s, Field::Email, vk::Numpad0 + 4, 5055, 30},
        {u"cmdFileSize"_s, u"File Size  (5)"_s, Field::FileSize, vk::Numpad0 + 5, 6735, 30},
        {u"cmdSysReq"_s, u"Sys Req.  (6)"_s, Field::SysReq, vk::Numpad0 + 6, 8415, 30},
        {u"cmdHomePage"_s, u"Home Page  (7)"_s, Field::HomePage, vk::Numpad0 + 7, 15, 390},
        {u"cmdProgURL"_s, u"ZIP or EXE URL (8)"_s, Field::ProgURL, vk::Numpad0 + 8, 1695, 390},
        {u"cmdSShotURL"_s, u"Scr.shot URL  (9)"_s, Field::SShotURL, vk::Numpad0 + 9, 3375, 390},
        {u"cmdShortDesc"_s, u"Short Desc.  (/)"_s, Field::ShortDesc, vk::Divide, 5055, 390},
        {u"cmdLongDesc"_s, u"Long Desc.  (*)"_s, Field::LongDesc, vk::Multiply, 6735, 390},
        {u"cmdPADURL"_s, u"PAD URL (0)"_s, Field::PADURL, vk::Numpad0, 8415, 390},
    }};
    return table;
}

const FieldButtonSpec *fieldButtonForKey(int virtualKey)
{
    for (const auto &button : fieldButtonTable()) {
        if (button.key == virtualKey)
            return &button;
    }
    return nullptr;
}

const std::array<MenuEntrySpec, MenuEntryCount> &popupMenuTable()
{
    // Three blanks between the mnemonic and the field's name. The long
    // description's item is called mnuongDesc.
    static const std::array<MenuEntrySpec, MenuEntryCount> table = {{
        {u"mnuAuthor"_s, u"&1   Author"_s, Field::Author},
        {u"mnuEmail"_s, u"&2   Email"_s, Field::Email},
        {u"mnuCompany"_s, u"&3   Company"_s, Field::Company},
        {u"mnuSep1"_s, u"-"_s, std::nullopt},
        {u"mnuProgName"_s, u"&4   Program Name"_s, Field::ProgName},
        {u"mnuProgVer"_s, u"&5   Program Version"_s, Field::ProgVer},
        {u"mnuFileSize"_s, u"&6   File Size"_s, Field::FileSize},
        {u"mnuOS"_s, u"&7   Operating System"_s, Field::OS},
        {u"mnuSysReq"_s, u"&8   System Requirement"_s, Field::SysReq},
        {u"mnuSep2"_s, u"-"_s, std::nullopt},
        {u"mnuHomePage"_s, u"&9   Home Page"_s, Field::HomePage},
        {u"mnuProgURL1"_s, u"&0   Program URL 1"_s, Field::ProgURL},
        {u"mnuProgURL2"_s, u"&-   Program URL 2"_s, Field::SecURL},
        {u"mnuSShot"_s, u"&=   Screenshot URL"_s, Field::SShotURL},
        {u"mnuProgIcon"_s, u"&\\   Program Icon URL"_s, Field::ProgIcon},
        {u"mnuSep3"_s, u"-"_s, std::nullopt},
        {u"mnuShortDesc"_s, u"&[   Short Description"_s, Field::ShortDesc},
        {u"mnuongDesc"_s, u"&]   Long Description"_s, Field::LongDesc},
        {u"mnuKeywords"_s, u"&;   Keywords"_s, Field::Keywords},
        {u"mnuSep4"_s, u"-"_s, std::nullopt},
        {u"mnuPADURL"_s, u"PAD URL (&XML)"_s, Field::PADURL},
    }};
    return table;
}

} // namespace tarvelo
