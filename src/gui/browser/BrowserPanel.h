#pragma once

#include "core/browser/HelpPage.h"

#include <QObject>

#include <functional>

namespace tarvelo {

class MainWindow;

// The browser's part of the window: the site list, the six browser buttons,
// the help page, the status line, progress bar and caption, and the PAD URL
// fill after every load.
class BrowserPanel : public QObject
{
    Q_OBJECT
public:
    // Shows the user a message, e.g. in a message box.
    using TellUser = std::function<void(const QString &message)>;

    // Wires the window's browser controls and fills lstSites. The panel is a
    // child of the window.
    BrowserPanel(MainWindow &window, TellUser tellUser, HelpPage helpPage = HelpPage());

    // The Home command; the start-up sequence presses it too.
    void home();
    // Deletes the help page file(s) Home wrote; the close sequence calls it.
    void removeHelpPage();

    void lstSites_DblClick();
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdStop_Click();
    void cmdRefresh_Click();
    void cmdPAD_Click();

    void WebBr_StatusTextChange(const QString &text);
    void WebBr_ProgressChange(int progress, int maximum);
    void WebBr_DownloadComplete();
    void WebBr_TitleChange(const QString &text);

private:
    void connectControls();
    void connectBrowser();
    void fillPadUrl();
    void reportHelpPageProblem(HelpPage::Status status);

    MainWindow &m_window;
    TellUser m_tellUser;
    HelpPage m_helpPage;
    bool m_helpPageProblemTold = false;
};

} // namespace tarvelo
