#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvelo {

// The language sections of a PAD file: the children of its
// <Program_Descriptions> element, each holding the keywords and descriptions
// in one language (<English>, <German>...). Found by the same case-sensitive
// text search as the other tags, so a file that writes the container in
// another case, or leaves it unclosed, has no sections and reads as a file
// without languages.
class PadLanguages
{
public:
    // The sections of a decoded PAD text.
    static PadLanguages fromPadText(const QString &padText);

    // Language names in file order, each once.
    QStringList names() const;
    bool isEmpty() const { return m_sections.isEmpty(); }

    // English when the file has it, else the first language; empty when none.
    QString preferred() const;

    // The text inside the language's element; empty for an unknown language.
    QString section(const QString &language) const;

private:
    struct Section
    {
        QString name;
        QString text;
    };
    QList<Section> m_sections;
};

} // namespace tarvelo
