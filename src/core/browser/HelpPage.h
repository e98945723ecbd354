#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvelo {

// The built-in help page. The browser shows it from a file, so Home writes
// the page's bytes to "tempIndex.html": in the program's folder, or, where an
// installed program's folder is not writable, in the user's runtime folder.
// The file goes again when the window closes.
class HelpPage
{
public:
    enum class Status {
        Written,    // address is the written file's path
        FromMemory, // no folder took the file; address carries the page itself
        Missing,    // the page could not be read; address is empty
    };
    struct Result
    {
        Status status;
        QString address;
    };

    static QString fileName();
    static QString resourcePath();
    // The program's folder, then the per-user runtime folder.
    static QStringList defaultFolders();

    explicit HelpPage(QString source = resourcePath(), QStringList folders = defaultFolders());

    // Writes the page into the first folder that takes it, replacing an older
    // copy, and tells the browser where to find it.
    Result write();

    // Deletes every file write() has made; failures are of no interest.
    void removeWrittenFile();
    QStringList writtenFiles() const { return m_written; }

private:
    static bool writeFile(const QString &path, const QByteArray &bytes);
    static QString dataAddress(const QByteArray &bytes);

    QString m_source;
    QStringList m_folders;
    QStringList m_written;
};

} // namespace tarvelo
