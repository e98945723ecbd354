#pragma once

#include "core/campaign/CampaignStore.h"

#include <QByteArray>
#include <QString>

namespace tarvelo {

// The exported log as CSV (RFC 4180, UTF-8, CRLF line ends), one row per
// program and site: site,name,program,pad_url,version,status,date,note.
class CampaignLog
{
public:
    CampaignLog();

    void add(const SiteRecord &site, const QString &program, const QString &padUrl,
             const StateRecord &latest);

    // Writes the whole file or leaves the one there as it was.
    bool save(const QString &filePath, QString *error) const;

    // A field as CSV carries it: in quotes, with quotes doubled, when it holds
    // a comma, a quote, CR or LF.
    static QString field(const QString &text);

private:
    void addRow(const QStringList &fields);

    QByteArray m_text;
};

} // namespace tarvelo
