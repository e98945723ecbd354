#include "gui/browser/PopupWindow.h"

#include "core/browser/StatusFeedback.h"

#include <QApplication>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace tarvelo {

void PopupWindow::openNewWindowsOf(QWebEnginePage *page)
{
    connect(page, &QWebEnginePage::newWindowRequested, page,
            [page](QWebEngineNewWindowRequest &request) { open(page, request); });
}

void PopupWindow::open(QWebEnginePage *opener, QWebEngineNewWindowRequest &request)
{
    // The engine refuses window.open, target=_blank and form targets without a
    // click or key (JavascriptCanOpenWindows is off); should one come through
    // all the same, leaving it unanswered drops the new window.
    if (!request.isUserInitiated())
        return;
    auto *popup = new PopupWindow(opener->profile());
    // the engine hands on the size the page asked for, if any
    request.openIn(popup->page());
    popup->show();
    popup->activateWindow();
}

QList<PopupWindow *> PopupWindow::allOf(const QWebEngineProfile *profile)
{
    QList<PopupWindow *> found;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        auto *popup = qobject_cast<PopupWindow *>(window);
        if (popup && popup->page()->profile() == profile)
            found.append(popup);
    }
    return found;
}

void PopupWindow::deleteAllOf(const QWebEngineProfile *profile)
{
    qDeleteAll(allOf(profile));
}

PopupWindow::PopupWindow(QWebEngineProfile *profile)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program even with popups open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(StatusFeedback::windowTitle({}));
    createWidgets(profile);
    resizeTo(QRect(0, 0, 900, 700));
    new QShortcut(QKeySequence::Close, this, this, &QWidget::close);
    connectPage();
    openNewWindowsOf(m_page);
}

void PopupWindow::createWidgets(QWebEngineProfile *profile)
{
    m_view = new QWebEngineView(this);
    m_view->setObjectName(u"webPopup"_s);
    // as in the main browser, no page menu
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_page = new QWebEnginePage(profile, m_view);
    m_view->setPage(m_page);
    m_status = new QLabel(this);
    m_status->setObjectName(u"lblStatus"_s);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_status);
}

void PopupWindow::connectPage()
{
    connect(m_page, &QWebEnginePage::linkHovered, this, &PopupWindow::showStatusText);
    connect(m_page, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo &info) {
                if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                    showStatusText(tr("Opening %1").arg(info.url().toDisplayString()));
            });
    connect(m_page, &QWebEnginePage::loadFinished, this, &PopupWindow::onLoadFinished);
    connect(m_page, &QWebEnginePage::titleChanged, this,
            [this](const QString &title) { setWindowTitle(StatusFeedback::windowTitle(title)); });
    connect(m_page, &QWebEnginePage::geometryChangeRequested, this, &PopupWindow::resizeTo);
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
}

void PopupWindow::resizeTo(const QRect &geometry)
{
    // The size of the page area; a page has no say in where the window goes.
    if (!geometry.isEmpty())
        resize(geometry.width(), geometry.height() + m_status->sizeHint().height());
}

void PopupWindow::showStatusText(const QString &text)
{
    m_status->setText(u" "_s + text);
}

void PopupWindow::onLoadFinished()
{
    m_status->setText(u" Done - "_s + m_page->url().toString());
}

} // namespace tarvelo
