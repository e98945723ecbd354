#include "gui/browser/BrowserPanel.h"

#include "core/browser/AutoFillScript.h"
#include "core/browser/SiteDirectory.h"
#include "core/browser/StatusFeedback.h"
#include "core/profiles/TidyValue.h"
#include "gui/browser/Browser.h"
#include "gui/profiles/ProfilesPanel.h"
#include "gui/window/MainWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace tarvelo {

BrowserPanel::BrowserPanel(MainWindow &window, Browser &browser, TellUser tellUser,
                           HelpPage helpPage)
    : QObject(&window), m_window(window), m_browser(browser), m_tellUser(std::move(tellUser)),
      m_helpPage(std::move(helpPage))
{
    // The list ships in its order; nothing is added at run time.
    m_window.siteList()->addItems(SiteDirectory::load());
    connectControls();
    connectBrowser();
}

void BrowserPanel::connectControls()
{
    const MainWindow &w = m_window;
    connect(w.siteList(), &QListWidget::itemDoubleClicked, this, &BrowserPanel::openSelectedSite);
    w.siteList()->installEventFilter(this); // Enter and Space open the site too
    connect(w.navButton(NavButton::Back), &QToolButton::clicked, this, &BrowserPanel::goBack);
    connect(w.navButton(NavButton::Forward), &QToolButton::clicked, this, &BrowserPanel::goForward);
    connect(w.navButton(NavButton::Stop), &QToolButton::clicked, this, &BrowserPanel::stop);
    connect(w.navButton(NavButton::Refresh), &QToolButton::clicked, this, &BrowserPanel::refresh);
    connect(w.padSitesButton(), &QPushButton::clicked, this, &BrowserPanel::showSiteList);
    connect(w.homeButton(), &QPushButton::clicked, this, &BrowserPanel::home);
}

void BrowserPanel::connectBrowser()
{
    connect(&m_browser, &Browser::statusTextChange, this, &BrowserPanel::showStatusText);
    connect(&m_browser, &Browser::progressChange, this, &BrowserPanel::showProgress);
    connect(&m_browser, &Browser::downloadComplete, this, &BrowserPanel::onLoadFinished);
    connect(&m_browser, &Browser::titleChange, this, &BrowserPanel::showTitle);
}

void BrowserPanel::home()
{
    const HelpPage::Result page = m_helpPage.write();
    if (page.status != HelpPage::Status::Written)
        reportHelpPageProblem(page.status);
    if (!page.address.isEmpty())
        m_browser.navigate(page.address);
    // Before the window is shown this moves nothing, and that is fine.
    m_window.siteList()->setFocus();
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

void BrowserPanel::openSelectedSite()
{
    const QListWidgetItem *site = m_window.siteList()->currentItem();
    if (!site)
        return;
    m_browser.navigate(site->text());
    m_browser.setFocus();
}

bool BrowserPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window.siteList() || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool opens =
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
    // Ctrl+Space and the like keep their list meaning; a held key opens once.
    if (!opens || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    if (!key->isAutoRepeat())
        openSelectedSite();
    return true;
}

void BrowserPanel::goBack()
{
    m_browser.goBack(); // no earlier page: nothing happens
}

void BrowserPanel::goForward()
{
    m_browser.goForward(); // no later page: nothing happens
}

void BrowserPanel::stop()
{
    m_browser.stop();
}

void BrowserPanel::refresh()
{
    m_browser.refresh();
}

void BrowserPanel::showSiteList()
{
    m_window.siteList()->setFocus();
}

void BrowserPanel::showStatusText(const QString &text)
{
    m_window.statusLabel()->setText(u" "_s + text);
}

void BrowserPanel::showProgress(int progress, int maximum)
{
    if (const std::optional<QString> bar = StatusFeedback::progressCaption(progress, maximum))
        m_window.progressLabel()->setText(*bar);
}

void BrowserPanel::onLoadFinished()
{
    m_window.statusLabel()->setText(u" Done - "_s + m_browser.locationUrl());
    fillPadUrl();
}

void BrowserPanel::showTitle(const QString &text)
{
    m_window.setWindowTitle(StatusFeedback::windowTitle(text));
}

void BrowserPanel::fillPadUrl()
{
    // the profile current now, and its PAD URL as the box holds it now
    const int profile = m_window.currentProfile();
    const QString padUrl = tidyValue(Field::PADURL, m_window.fieldText(Field::PADURL, profile));
    if (padUrl.isEmpty())
        return; // nothing to give: what the page or the user put there stays
    const ProfilesPanel *profiles = ProfilesPanel::of(m_window);
    const QString category =
        profiles ? profiles->extraValue(profile, ExtraValue::Category) : QString();
    m_browser.runIsolatedScript(AutoFillScript::build(padUrl, category));
}

} // namespace tarvelo
