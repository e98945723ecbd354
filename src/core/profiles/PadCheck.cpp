#include "core/profiles/PadCheck.h"

#include "core/profiles/PadReader.h"

#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

namespace tarvelo {

namespace {

const QString rootName = QStringLiteral("XML_DIZ_INFO");
const QString versionPath =
    QStringLiteral("XML_DIZ_INFO/MASTER_PAD_VERSION_INFO/MASTER_PAD_VERSION");

// The text of the first element at each path: character data directly inside
// it, CDATA included, references decoded, nothing trimmed.
struct Document
{
    QHash<QString, QString> firstText;
    QString error;
};

Document readDocument(const QByteArray &bytes)
{
    Document doc;
    QXmlStreamReader xml(bytes);
    QString path;
    QList<bool> isFirst; // per open element: does its text count?
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (isFirst.isEmpty() && xml.name() != rootName) {
                doc.error = QStringLiteral("line %1: the root element is <%2>, not <%3>")
                                .arg(xml.lineNumber())
                                .arg(xml.name(), rootName);
                return doc;
            }
            if (!isFirst.isEmpty())
                path += u'/';
            path += xml.name();
            isFirst.append(!doc.firstText.contains(path));
            if (isFirst.last())
                doc.firstText.insert(path, QString());
            break;
        case QXmlStreamReader::EndElement:
            isFirst.removeLast();
            path.truncate(qMax(0, path.lastIndexOf(u'/')));
            break;
        case QXmlStreamReader::Characters:
            if (!isFirst.isEmpty() && isFirst.last())
                doc.firstText[path] += xml.text();
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        doc.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return doc;
}

QString unreadableReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (info.size() > PadReader::MaxFileSize)
        return QStringLiteral("larger than %1 MB").arg(PadReader::MaxFileSize / (1024 * 1024));
    return QStringLiteral("cannot be read");
}

PadCheck::Result check(const Document &doc, const PadRules &rules)
{
    PadCheck::Result result{doc.error, rules.version, {}};
    if (!doc.error.isEmpty())
        return result;
    if (!rules.loadError.isEmpty()) { // never a silent pass
        result.error = QStringLiteral("the PAD %1 rules cannot be read: %2")
                           .arg(rules.version, rules.loadError);
        return result;
    }
    for (const PadRules::Rule &rule : rules.rules) {
        if (PadCheck::isIssuedByRepository(rule.path))
            continue;
        const QString value = doc.firstText.value(rule.path);
        if (!rule.expression.match(value).hasMatch())
            result.problems.append({rule.path, rule.documentation, value});
    }
    return result;
}

} // namespace

bool PadCheck::isIssuedByRepository(const QString &path)
{
    static const QStringList names = {
        QStringLiteral("PublisherID"),         QStringLiteral("AppID"),
        QStringLiteral("CERTIFIED"),           QStringLiteral("CERTIFICATE_ID"),
        QStringLiteral("CERTIFICATE_LICENSE"), QStringLiteral("ASP_Member"),
        QStringLiteral("ASP_Member_Number")};
    return names.contains(path.section(u'/', -1));
}

PadCheck::Result PadCheck::checkBytes(const QByteArray &bytes)
{
    const Document doc = readDocument(bytes);
    return check(doc, PadRules::forDeclaredVersion(doc.firstText.value(versionPath)));
}

PadCheck::Result PadCheck::checkBytes(const QByteArray &bytes, const PadRules &rules)
{
    return check(readDocument(bytes), rules);
}

PadCheck::Result PadCheck::checkFile(const QString &path)
{
    const auto bytes = PadReader::readFileBytes(path);
    if (!bytes)
        return {unreadableReason(path), {}, {}};
    return checkBytes(*bytes);
}

} // namespace tarvelo
