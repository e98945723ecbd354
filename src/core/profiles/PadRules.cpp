#include "core/profiles/PadRules.h"

#include <QFile>
#include <QXmlStreamReader>

namespace tarvelo {

namespace {

struct FieldText
{
    QString path;
    QString documentation;
    QString regex;
};

// Reads the children of one <Field> up to its end tag.
FieldText readField(QXmlStreamReader &xml)
{
    FieldText field;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (name == u"Path")
            field.path = text.trimmed();
        else if (name == u"RegExDocumentation")
            field.documentation = text.trimmed();
        else if (name == u"RegEx")
            field.regex = text; // the expression is taken exactly as written
    }
    return field;
}

void addField(PadRules &rules, const FieldText &field)
{
    if (field.path.isEmpty() || field.regex.isEmpty()) // an empty expression accepts anything
        return;
    // The publisher's validator wraps the expression in "/.../" with no flags;
    // QRegularExpression's defaults (UTF, no Unicode classes) match that.
    QRegularExpression expression(field.regex);
    if (!expression.isValid()) {
        rules.brokenFields.append(field.path);
        return;
    }
    expression.optimize();
    const bool required = !expression.match(QString()).hasMatch();
    rules.rules.append({field.path, field.documentation, expression, required});
}

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

PadRules PadRules::fromXml(const QByteArray &bytes)
{
    PadRules rules;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"PAD_Spec_Version")
            rules.version = xml.readElementText().trimmed();
        else if (xml.name() == u"Field")
            addField(rules, readField(xml));
    }
    if (xml.hasError()) {
        rules.loadError =
            QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
        rules.rules.clear();
    }
    return rules;
}

const PadRules &PadRules::pad302()
{
    static const PadRules rules =
        fromXml(resourceBytes(QStringLiteral(":/padspec/padspec-3.02.xml")));
    return rules;
}

const PadRules &PadRules::pad40()
{
    static const PadRules rules =
        fromXml(resourceBytes(QStringLiteral(":/padspec/padspec-4.0.xml")));
    return rules;
}

const PadRules &PadRules::forDeclaredVersion(const QString &padVersion)
{
    const QString major = padVersion.trimmed().section(u'.', 0, 0);
    return major == u"4" ? pad40() : pad302();
}

} // namespace tarvelo
