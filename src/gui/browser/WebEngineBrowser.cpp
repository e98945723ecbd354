#include "gui/browser/WebEngineBrowser.h"

#include "gui/browser/PopupWindow.h"
#include "gui/browser/WebPage.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace tarvelo {

namespace {

QString profileFolder(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::writableLocation(location) + u"/webengine"_s;
}

} // namespace

WebEngineBrowser::WebEngineBrowser(QObject *parent) : Browser(parent)
{
    m_profile = new QWebEngineProfile(u"Tarvelo"_s, this);
    m_profile->setPersistentStoragePath(profileFolder(QStandardPaths::AppDataLocation));
    m_profile->setCachePath(profileFolder(QStandardPaths::CacheLocation));
    // cookies a site stores for later stay, so a directory login survives a run
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    // window.open only in answer to a click or a key, as browsers allow it
    m_profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);

    m_view = new QWebEngineView;
    // the program's own pop-up menu takes the right click over the page
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    auto *page = new WebPage(m_profile, m_view);
    connect(page, &WebPage::formSubmitted, this, &Browser::formSubmitted);
    m_page = page;
    m_view->setPage(m_page);
    PopupWindow::openNewWindowsOf(m_page);
    connectPage();
    // The page's first use starts its page process. Started here, that
    // process boots while the window is built, instead of after Home asks
    // for the help page; nothing is loaded, the history stays empty.
    m_page->history()->count();

    connect(qApp, &QApplication::focusChanged, this, &WebEngineBrowser::onFocusChanged);
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            &WebEngineBrowser::onDownloadRequested);
}

WebEngineBrowser::~WebEngineBrowser()
{
    // The pages go with their views, and must go before the profile does.
    PopupWindow::deleteAllOf(m_profile);
    delete m_view;
    delete m_page;
}

void WebEngineBrowser::connectPage()
{
    connect(m_page, &QWebEnginePage::linkHovered, this, &Browser::statusTextChange);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::onLoadingChanged);
    connect(m_page, &QWebEnginePage::loadProgress, this,
            [this](int progress) { Q_EMIT progressChange(progress, 100); });
    connect(m_page, &QWebEnginePage::loadFinished, this, &WebEngineBrowser::onLoadFinished);
    connect(m_page, &QWebEnginePage::titleChanged, this, &Browser::titleChange);
}

QWidget *WebEngineBrowser::widget()
{
    return m_view;
}

QUrl WebEngineBrowser::addressToUrl(const QString &address)
{
    if (QDir::isAbsolutePath(address))
        return QUrl::fromLocalFile(address);
    return QUrl(address);
}

void WebEngineBrowser::navigate(const QString &address)
{
    m_page->load(addressToUrl(address));
}

bool WebEngineBrowser::goBack()
{
    if (!m_page->history()->canGoBack())
        return false;
    m_page->history()->back();
    return true;
}

bool WebEngineBrowser::goForward()
{
    if (!m_page->history()->canGoForward())
        return false;
    m_page->history()->forward();
    return true;
}

void WebEngineBrowser::stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void WebEngineBrowser::refresh()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

void WebEngineBrowser::selectAll()
{
    m_page->triggerAction(QWebEnginePage::SelectAll);
}

void WebEngineBrowser::paste()
{
    m_page->triggerAction(QWebEnginePage::Paste);
}

void WebEngineBrowser::setFocus()
{
    m_view->setFocus(Qt::OtherFocusReason);
}

bool WebEngineBrowser::hasFocus() const
{
    return isInsideView(QApplication::focusWidget());
}

QString WebEngineBrowser::locationUrl() const
{
    return m_page->url().toString();
}

void WebEngineBrowser::runIsolatedScript(const QString &script,
                                         std::function<void(const QVariant &)> done)
{
    if (done)
        m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld, done);
    else
        m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void WebEngineBrowser::setSaveLocationChooser(SaveLocationChooser chooser)
{
    m_chooseSaveLocation = std::move(chooser);
}

bool WebEngineBrowser::isInsideView(const QWidget *widget) const
{
    // the keyboard focus sits in the view's focus proxy, a child of the view
    return widget && m_view && (widget == m_view || m_view->isAncestorOf(widget));
}

void WebEngineBrowser::onFocusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = isInsideView(old);
    const bool isInside = isInsideView(now);
    if (wasInside && !now && old != m_view->focusProxy()) {
        // A page from another site comes with a new widget inside the view,
        // and the old one leaves with the focus. The user never left the
        // browser: hand the focus on (that reports gotFocus again, harmless).
        m_view->setFocus(Qt::OtherFocusReason);
        if (hasFocus())
            return;
    }
    if (!wasInside && isInside)
        Q_EMIT gotFocus();
    else if (wasInside && !isInside)
        Q_EMIT lostFocus();
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        Q_EMIT statusTextChange(tr("Opening %1").arg(info.url().toDisplayString()));
}

void WebEngineBrowser::onLoadFinished()
{
    // the end of a load, successful or not, as the browser reports it
    Q_EMIT progressChange(-1, 100);
    Q_EMIT downloadComplete();
}

void WebEngineBrowser::onDownloadRequested(QWebEngineDownloadRequest *download)
{
    const QString suggested =
        QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    const QString chosen =
        m_chooseSaveLocation ? m_chooseSaveLocation(suggested) : askSaveLocation(suggested);
    if (chosen.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
}

QString WebEngineBrowser::askSaveLocation(const QString &suggestedPath) const
{
    return QFileDialog::getSaveFileName(m_view, tr("Save File"), suggestedPath);
}

} // namespace tarvelo
