#include "core/profiles/ProfileFields.h"

namespace tarvelo {

namespace {

FieldSpec single(Field f, const char16_t *name, const char16_t *tag, const char16_t *label,
                 const char16_t *def, const char16_t *spoken)
{
    FieldSpec info;
    info.field = f;
    info.name = QString::fromUtf16(name);
    info.padTag = QString::fromUtf16(tag);
    info.label = QString::fromUtf16(label);
    info.defaultText = QString::fromUtf16(def);
    info.spokenName = QString::fromUtf16(spoken);
    return info;
}

std::array<FieldSpec, FieldCount> buildTable()
{
    // Captions keep their runs of blanks: the labels line up their colons that
    // way. The spoken names say the same without the blanks, and split the two
    // download addresses the captions spread over two labels.
    std::array<FieldSpec, FieldCount> t = {
        single(Field::Author, u"txtAuthor", u"<Author_First_Name>", u"Author                 :",
               u"Author", u"Author"),
        single(Field::Email, u"txtEmail", u"<Author_Email>", u"Email                    :",
               u"author@example.com", u"Email"),
        single(Field::Company, u"txtCompany", u"<Company_Name>", u"Company              :",
               u"Company Name", u"Company"),
        single(Field::ProgName, u"txtProgName", u"<Program_Name>", u"Program Name    :",
               u"Program Name", u"Program name"),
        single(Field::ProgVer, u"txtProgVer", u"<Program_Version>", u"Program Version :",
               u"Program Version 1.0", u"Program version"),
        single(Field::FileSize, u"txtFileSize", u"<File_Size_K>", u"File Size              :",
               u"File Size 100 Kb", u"File size"),
        single(Field::OS, u"txtOS", u"<Program_OS_Support>", u"Operating System:", u"OS",
               u"Operating system"),
        single(Field::SysReq, u"txtSysReq", u"<Program_System_Requirements>",
               u"System Req.         :", u"System Requirement\r\n", u"System requirements"),
        single(Field::HomePage, u"txtHomePage", u"<Application_Info_URL>", u"Home Page           :",
               u"http://Home Page", u"Home page"),
        single(Field::ProgURL, u"txtProgURL", u"<Primary_Download_URL>", u"Program URL: 1)",
               u"http://Program URL", u"Program URL 1"),
        single(Field::SecURL, u"txtSecURL", u"<Secondary_Download_URL>", u"2)",
               u"http://Program URL", u"Program URL 2"),
        single(Field::SShotURL, u"txtSShotURL", u"<Application_Screenshot_URL>",
               u"Screenshot URL    :", u"http://Screenshot URL", u"Screenshot URL"),
        single(Field::ProgIcon, u"txtProgIcon", u"<Application_Icon_URL>", u"Program Icon URL:",
               u"http://Program Icon URL", u"Program icon URL"),
        single(Field::ShortDesc, u"txtShortDesc", u"<Char_Desc_45>", u"Short Description :",
               u"Short Description", u"Short description"),
        single(Field::LongDesc, u"txtLongDesc", u"<Char_Desc_450>", u"Long Description  :",
               u"Long Description\r\n", u"Long description"),
        single(Field::Keywords, u"txtKeywords", u"<Keywords>", u"Keywords              :",
               u"Keyword1,Keyword2,Keyword3\r\n", u"Keywords"),
        single(Field::PADURL, u"txtPADURL", u"<Application_XML_File_URL>", u"", u"PAD URL",
               u"PAD URL"),
        single(Field::LocalPAD, u"txtLocalPAD", u"", u"", u"LOCAL PAD", u"Local PAD"),
    };
    auto &sysReq = t[int(Field::SysReq)];
    sysReq.multiLine = true;
    auto &longDesc = t[int(Field::LongDesc)];
    longDesc.multiLine = true;
    longDesc.scrollBar = true;
    auto &keywords = t[int(Field::Keywords)];
    keywords.multiLine = true;
    keywords.toolTip = QStringLiteral(
        "Enter the keywords which would best describe your software. Comma seperated.");
    keywords.labelToolTip = QStringLiteral("Use  Control + NumPad 7");
    t[int(Field::SecURL)].toolTip = QStringLiteral("Use  Control + NumPad 8");
    return t;
}

} // namespace

const std::array<FieldSpec, FieldCount> &fieldTable()
{
    static const auto table = buildTable();
    return table;
}

const FieldSpec &fieldSpec(Field field)
{
    return fieldTable()[static_cast<int>(field)];
}

const std::array<Field, 17> &padLoadOrder()
{
    static const std::array<Field, 17> order = {
        Field::Company,  Field::Author,   Field::Email,    Field::ProgName, Field::ProgVer,
        Field::OS,       Field::SysReq,   Field::FileSize, Field::Keywords, Field::ShortDesc,
        Field::LongDesc, Field::HomePage, Field::SShotURL, Field::ProgIcon, Field::PADURL,
        Field::ProgURL,  Field::SecURL,
    };
    return order;
}

} // namespace tarvelo
