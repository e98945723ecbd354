#include "core/campaign/CampaignLog.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace tarvelo {

CampaignLog::CampaignLog()
{
    addRow({u"site"_s, u"name"_s, u"program"_s, u"pad_url"_s, u"version"_s, u"status"_s, u"date"_s,
            u"note"_s});
}

void CampaignLog::add(const SiteRecord &site, const QString &program, const QString &padUrl,
                      const StateRecord &latest)
{
    const bool todo = latest.state == SiteState::Todo;
    addRow({site.address, site.name, program, padUrl, todo ? QString() : latest.version,
            stateName(latest.state),
            todo || !latest.at.isValid() ? QString() : latest.at.toUTC().toString(Qt::ISODate),
            latest.detail});
}

bool CampaignLog::save(const QString &filePath, QString *error) const
{
    QSaveFile file(filePath);
    if (file.open(QIODevice::WriteOnly) && file.write(m_text) == m_text.size() && file.commit())
        return true;
    if (error)
        *error = u"%1: %2"_s.arg(filePath, file.errorString());
    return false;
}

QString CampaignLog::field(const QString &text)
{
    static const QString special = u",\"\r\n"_s;
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

void CampaignLog::addRow(const QStringList &fields)
{
    QStringList line;
    for (const QString &text : fields)
        line.append(field(text));
    m_text += line.join(u',').toUtf8() + "\r\n";
}

} // namespace tarvelo
