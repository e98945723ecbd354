#include "core/browser/FormFillScript.h"

#include "core/browser/AutoFillScript.h"
#include "core/browser/FieldPatterns.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QString loadCode()
{
    QFile file(u":/scripts/formfill.js"_s);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the form fill script is missing from the resources");
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString call(const QString &request, const QJsonObject &values, const QJsonObject &taught)
{
    static const QString patterns = AutoFillScript::jsonCode(FieldPatterns::json());
    return FormFillScript::code() + u"("_s + AutoFillScript::jsonLiteral(request) + u", "_s +
           patterns + u", "_s + AutoFillScript::jsonCode(values) + u", "_s +
           AutoFillScript::jsonCode(taught) + u");"_s;
}

} // namespace

const QString &FormFillScript::code()
{
    static const QString fixed = loadCode();
    return fixed;
}

QString FormFillScript::fill(const QJsonObject &values, const QHash<QString, QString> &taught)
{
    QJsonObject boxes;
    for (auto it = taught.cbegin(); it != taught.cend(); ++it)
        boxes.insert(it.key(), it.value());
    return call(u"fill"_s, values, boxes);
}

QString FormFillScript::describeFocused()
{
    return call(u"describe"_s, {}, {});
}

FormFillScript::Outcome FormFillScript::Outcome::from(const QVariant &answer)
{
    const QVariantMap map = answer.toMap();
    if (!map.contains(u"filled"_s))
        return {};
    return {map.value(u"filled"_s).toInt(), map.value(u"left"_s).toInt(),
            map.value(u"tooLong"_s).toInt(), true};
}

QString FormFillScript::Outcome::statusText() const
{
    if (!ran)
        return u" Fill form: the page did not answer"_s;
    QString text = u" Filled %1 %2; %3 left for you"_s.arg(filled)
                       .arg(filled == 1 ? u"box"_s : u"boxes"_s)
                       .arg(left);
    if (tooLong > 0)
        text += u" (%1 too short for the program's text)"_s.arg(tooLong);
    return text;
}

} // namespace tarvelo
