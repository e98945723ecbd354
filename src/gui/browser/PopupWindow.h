#pragma once

#include <QWidget>

class QLabel;
class QWebEngineNewWindowRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace tarvelo {

// A window of its own for a page that a link or a script asked for, so the
// directory form that asked stays in the main browser with its history. It
// browses in the same profile (logins, cookies) and is deleted when closed.
class PopupWindow : public QWidget
{
    Q_OBJECT
public:
    // From now on the page's requests for a new window that a person made
    // (a click, a key) each open a PopupWindow; the others are dropped, as a
    // browser's pop-up blocker drops them.
    static void openNewWindowsOf(QWebEnginePage *page);
    // The open popups of the profile, closed ones not yet deleted included.
    static QList<PopupWindow *> allOf(const QWebEngineProfile *profile);
    // Deletes every open popup of the profile; its pages must go before it.
    static void deleteAllOf(const QWebEngineProfile *profile);

    explicit PopupWindow(QWebEngineProfile *profile);

    QWebEngineView *view() const { return m_view; }
    QWebEnginePage *page() const { return m_page; }

private:
    static void open(QWebEnginePage *opener, QWebEngineNewWindowRequest &request);
    void createWidgets(QWebEngineProfile *profile);
    void connectPage();
    // Sizes the page area as the geometry asks; an empty one changes nothing.
    void resizeTo(const QRect &geometry);
    void showStatusText(const QString &text);
    void onLoadFinished();

    QWebEngineView *m_view = nullptr;
    QWebEnginePage *m_page = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace tarvelo
