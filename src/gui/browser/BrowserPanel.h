#pragma once

#include "core/browser/HelpPage.h"

#include <QObject>

#include <functional>

namespace tarvelo {

class Browser;
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

    // Wires the window's browser controls and fills the site list. The panel
    // is a child of the window.
    BrowserPanel(MainWindow &window, Browser &browser, TellUser tellUser,
                 HelpPage helpPage = HelpPage());

    // The Home command; the start-up sequence presses it too.
    void home();
    // Deletes the help page file(s) Home wrote; the close sequence calls it.
    void removeHelpPage();

    void openSelectedSite();
    void goBack();
    void goForward();
    void stop();
    void refresh();
    void showSiteList();

    void showStatusText(const QString &text);
    void showProgress(int progress, int maximum);
    void onLoadFinished();
    void showTitle(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void connectBrowser();
    void fillPadUrl();
    void reportHelpPageProblem(HelpPage::Status status);

    MainWindow &m_window;
    Browser &m_browser;
    TellUser m_tellUser;
    HelpPage m_helpPage;
    bool m_helpPageProblemTold = false;
};

} // namespace tarvelo
