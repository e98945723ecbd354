#include "WindowFixture.h"

#include <QFile>

namespace tarvelo {

WindowFixture::WindowFixture(Browser *givenBrowser)
    : settings(std::make_unique<SettingsStore>(settingsFile()))
{
    if (givenBrowser) {
        browser = givenBrowser;
    } else {
        ownedBrowser = std::make_unique<FakeBrowser>();
        browser = ownedBrowser.get();
    }
    session = std::make_unique<Session>(
        Session::Platform{dialogs, *browser, keys, *settings, {dir.path()}});
}

WindowFixture::~WindowFixture()
{
    session.reset();
}

QString WindowFixture::makeFile(const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

void WindowFixture::storePaths(const SettingsStore::Paths &paths)
{
    settings->savePaths(paths);
}

} // namespace tarvelo
