#include "core/browser/FormFill.h"

#include "core/profiles/TidyValue.h"

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

struct FieldName
{
    Field field;
    const char16_t *name;
};

// The short and long descriptions of a profile are the PAD file's 45- and
// 450-character ones; the author box holds the first name.
constexpr FieldName fieldNames[] = {
    {Field::Author, u"firstName"},
    {Field::Email, u"email"},
    {Field::Company, u"company"},
    {Field::ProgName, u"name"},
    {Field::ProgVer, u"version"},
    {Field::FileSize, u"fileSize"},
    {Field::OS, u"os"},
    {Field::SysReq, u"sysReq"},
    {Field::HomePage, u"homepage"},
    {Field::ProgURL, u"download"},
    {Field::SecURL, u"download2"},
    {Field::SShotURL, u"screenshot"},
    {Field::ProgIcon, u"icon"},
    {Field::ShortDesc, u"desc45"},
    {Field::LongDesc, u"desc450"},
    {Field::Keywords, u"keywords"},
    {Field::PADURL, u"pad"},
};

struct ExtraName
{
    ExtraValue extra;
    const char16_t *name;
};

constexpr ExtraName extraNames[] = {
    {ExtraValue::Desc80, u"desc80"},
    {ExtraValue::Desc250, u"desc250"},
    {ExtraValue::Desc2000, u"desc2000"},
    {ExtraValue::AuthorFullName, u"fullName"},
    {ExtraValue::FileSizeBytes, u"fileSizeBytes"},
    {ExtraValue::FileSizeKB, u"fileSizeKB"},
    {ExtraValue::FileSizeMB, u"fileSizeMB"},
    {ExtraValue::AuthorLastName, u"lastName"},
    {ExtraValue::Price, u"price"},
    {ExtraValue::LicenceType, u"license"},
    {ExtraValue::ReleaseDate, u"releaseDate"},
};

} // namespace

QJsonObject FormFill::values(const FieldText &field, const ExtraText &extra)
{
    QJsonObject all;
    for (const FieldName &entry : fieldNames)
        all.insert(QString::fromUtf16(entry.name), tidyValue(entry.field, field(entry.field)));
    for (const ExtraName &entry : extraNames)
        all.insert(QString::fromUtf16(entry.name), extra(entry.extra));
    return all;
}

QString FormFill::valueName(Field field)
{
    for (const FieldName &entry : fieldNames) {
        if (entry.field == field)
            return QString::fromUtf16(entry.name);
    }
    return {};
}

QString FormFill::valueName(ExtraValue extra)
{
    for (const ExtraName &entry : extraNames) {
        if (entry.extra == extra)
            return QString::fromUtf16(entry.name);
    }
    return {};
}

} // namespace tarvelo
