#include "core/browser/HelpPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tarvelo {

QString HelpPage::fileName()
{
    return u"tempIndex.html"_s;
}

QString HelpPage::resourcePath()
{
    return u":/help/index.html"_s;
}

QStringList HelpPage::defaultFolders()
{
    QStringList folders{QCoreApplication::applicationDirPath()};
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        folders.append(runtime);
    return folders;
}

HelpPage::HelpPage(QString source, QStringList folders)
    : m_source(std::move(source)), m_folders(std::move(folders))
{
}

HelpPage::Result HelpPage::write()
{
    QFile source(m_source);
    if (!source.open(QIODevice::ReadOnly))
        return {Status::Missing, {}};
    const QByteArray bytes = source.readAll();

    for (const QString &folder : std::as_const(m_folders)) {
        const QString path = folder + u'/' + fileName();
        if (!writeFile(path, bytes))
            continue;
        if (!m_written.contains(path))
            m_written.append(path);
        return {Status::Written, QDir::toNativeSeparators(path)};
    }
    return {Status::FromMemory, dataAddress(bytes)};
}

void HelpPage::removeWrittenFile()
{
    for (const QString &path : std::as_const(m_written))
        QFile::remove(path);
    m_written.clear();
}

bool HelpPage::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool complete = file.write(bytes) == bytes.size();
    file.close(); // flushes; a full disk shows here
    complete = complete && file.error() == QFileDevice::NoError;
    if (!complete)
        QFile::remove(path);
    return complete;
}

QString HelpPage::dataAddress(const QByteArray &bytes)
{
    return u"data:text/html;charset=utf-8;base64,"_s + QString::fromLatin1(bytes.toBase64());
}

} // namespace tarvelo
