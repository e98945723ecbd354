#pragma once

namespace tarvelo {

// Values of a PAD file beyond the 17 a profile holds, offered to the user
// when a web form asks for them. The descriptions come from one language
// section; the rest from the whole file.
enum class ExtraValue {
    Desc80,         // <Char_Desc_80>, one line
    Desc250,        // <Char_Desc_250>, tidied line by line
    Desc2000,       // <Char_Desc_2000>, tidied line by line
    AuthorFullName, // first and last name with one blank between
    FileSizeBytes,
    FileSizeKB,
    FileSizeMB,
    Category, // <Program_Category_Class>, e.g. "Desktop::Themes & Wallpaper"
    AuthorLastName,
    Price,       // <Program_Cost_Dollars>
    LicenceType, // <Program_Type>: Shareware, Freeware, ...
    ReleaseDate, // yyyy-mm-dd from the release year, month and day; empty if one lacks
};
constexpr int ExtraValueCount = 12;

} // namespace tarvelo
