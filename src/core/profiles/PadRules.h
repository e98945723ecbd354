#pragma once

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace tarvelo {

// The rules of one version of the PAD specification, as its publisher ships
// them: for every field, the element's path and the expression its text must
// match. The program carries the rules of PAD 3.02 and 4.0 as resources.
class PadRules
{
public:
    struct Rule
    {
        QString path; // XML_DIZ_INFO/Company_Info/Company_Name
        QString documentation;
        QRegularExpression expression;
        bool required = false; // the expression rejects the empty text
    };

    QString version;          // as the rules file declares it
    QList<Rule> rules;        // fields without an expression are left out
    QStringList brokenFields; // paths whose expression does not compile
    QString loadError;        // empty when the rules file was read

    // Reads a rules file. An expression that does not compile is left out
    // (and named in brokenFields) so that it can never report a problem.
    static PadRules fromXml(const QByteArray &xml);

    // The built-in rules, read once.
    static const PadRules &pad302();
    static const PadRules &pad40();

    // The rules a file declaring `padVersion` in MASTER_PAD_VERSION is held
    // to: 4.x by those of 4.0, anything else (or nothing) by those of 3.02.
    static const PadRules &forDeclaredVersion(const QString &padVersion);
};

} // namespace tarvelo
