#include "gui/browser/BrowserPanel.h"

#include "core/browser/AutoFillScript.h"
#include "gui/browser/Browser.h"
#include "core/browser/SiteDirectory.h"
#include "core/browser/StatusFeedback.h"
#include "gui/window/MainWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

BrowserPanel::BrowserPanel(MainWindow &window, TellUser tellUser, HelpPage helpPage)
    : QObject(&window), m_window(window), m_tellUser(std::move(tellUser)),
      m_helpPage(std::move(helpPage))
{
    // The list ships in its order; nothing is added at run time.
    m_window.lstSites->addItems(SiteDirectory::load());
    connectControls();
    connectBrowser();
}

void BrowserPanel::connectControls()
{
    MainWindow &w = m_window;
    connect(w.lstSites, &QListWidget::itemDoubleClicked, this, &BrowserPanel::lstSites_DblClick);
    connect(w.cmdBack, &QToolButton::clicked, this, &BrowserPanel::cmdBack_Click);
    connect(w.cmdForward, &QToolButton::clicked, this, &BrowserPanel::cmdForward_Click);
    connect(w.cmdStop, &QToolButton::clicked, this, &BrowserPanel::cmdStop_Click);
    connect(w.cmdRefresh, &QToolButton::clicked, this, &BrowserPanel::cmdRefresh_Click);
    connect(w.cmdPAD, &QPushButton::clicked, this, &BrowserPanel::cmdPAD_Click);
    connect(w.cmdHome, &QPushButton::clicked, this, &BrowserPanel::home);
}

void BrowserPanel::connectBrowser()
{
    Browser *browser = m_window.WebBr;
    connect(browser, &Browser::statusTextChange, this, &BrowserPanel::WebBr_StatusTextChange);
    connect(browser, &Browser::progressChange, this, &BrowserPanel::WebBr_ProgressChange);
    connect(browser, &Browser::downloadComplete, this, &BrowserPanel::WebBr_DownloadComplete);
    connect(browser, &Browser::titleChange, this, &BrowserPanel::WebBr_TitleChange);
}

void BrowserPanel::home()
{
    const HelpPage::Result page = m_helpPage.write();
    if (page.status != HelpPage::Status::Written)
        reportHelpPageProblem(page.status);
    if (!page.address.isEmpty())
        m_window.WebBr->navigate(page.address);
    // Before the window is shown this moves nothing, and that is fine.
    m_window.lstSites->setFocus();
}

void BrowserPanel::removeHelpPage()
{
    m_helpPage.removeWrittenFile();
}

void BrowserPanel::reportHelpPageProblem(HelpPage::Status status)
{
    if (m_helpPageProblemTold || !m_tellUser)
        return;
    m_helpPageProblemTold = true;
    if (status == HelpPage::Status::FromMemory)
        m_tellUser(tr("The help page could not be saved in the program's folder or in your "
                      "runtime folder, so it is shown from memory."));
    else
        m_tellUser(tr("The help page is missing from this copy of Tarvelo."));
}

void BrowserPanel::lstSites_DblClick()
{
    const QListWidgetItem *site = m_window.lstSites->currentItem();
    if (!site)
        return;
    m_window.WebBr->navigate(site->text());
    m_window.WebBr->setFocus();
}

void BrowserPanel::cmdBack_Click()
{
    m_window.WebBr->goBack(); // no earlier page: nothing happens
}

void BrowserPanel::cmdForward_Click()
{
    m_window.WebBr->goForward(); // no later page: nothing happens
}

void BrowserPanel::cmdStop_Click()
{
    m_window.WebBr->stop();
}

void BrowserPanel::cmdRefresh_Click()
{
    m_window.WebBr->refresh();
}

void BrowserPanel::cmdPAD_Click()
{
    m_window.lstSites->setFocus();
}

void BrowserPanel::WebBr_StatusTextChange(const QString &text)
{
    m_window.lblStatus->setText(u" "_s + text);
}

void BrowserPanel::WebBr_ProgressChange(int progress, int maximum)
{
    if (const std::optional<QString> bar = StatusFeedback::progressCaption(progress, maximum))
        m_window.lblProgress->setText(*bar);
}

void BrowserPanel::WebBr_DownloadComplete()
{
    m_window.lblStatus->setText(u" Done - "_s + m_window.WebBr->locationUrl());
    fillPadUrl();
}

void BrowserPanel::WebBr_TitleChange(const QString &text)
{
    m_window.setWindowTitle(StatusFeedback::windowTitle(text));
}

void BrowserPanel::fillPadUrl()
{
    // the profile current now, and its PAD URL as the box holds it now
    const QString padUrl = m_window.txtPADURL[m_window.currentProfile()]->text();
    m_window.WebBr->runIsolatedScript(AutoFillScript::build(padUrl));
}

} // namespace tarvelo
