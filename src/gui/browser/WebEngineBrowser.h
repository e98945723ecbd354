#pragma once

#include "gui/browser/Browser.h"

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEngineLoadingInfo;
class QWebEngineProfile;

namespace tarvelo {

// The browser on Qt WebEngine. Logins and cookies outlive a run: the page
// lives in a named, per-user profile stored under the user's data and cache
// folders.
class WebEngineBrowser : public Browser
{
    Q_OBJECT
public:
    // Asked where a download goes; an empty answer cancels it.
    using SaveLocationChooser = std::function<QString(const QString &suggestedPath)>;

    explicit WebEngineBrowser(QObject *parent = nullptr);
    ~WebEngineBrowser() override;

    QWidget *widget() override;

    void navigate(const QString &address) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override;
    void refresh() override;
    void selectAll() override;
    void paste() override;
    void setFocus() override;
    bool hasFocus() const override;
    QString locationUrl() const override;
    void runIsolatedScript(const QString &script,
                           std::function<void(const QVariant &)> done = {}) override;

    QWebEngineView *view() const { return m_view; }
    QWebEnginePage *page() const { return m_page; }
    QWebEngineProfile *profile() const { return m_profile; }

    // Replaces the save dialog, e.g. in tests.
    void setSaveLocationChooser(SaveLocationChooser chooser);

    // The address a navigate() call hands to the engine.
    static QUrl addressToUrl(const QString &address);

private:
    void connectPage();
    void onFocusChanged(QWidget *old, QWidget *now);
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void onLoadFinished();
    void onDownloadRequested(QWebEngineDownloadRequest *download);
    bool isInsideView(const QWidget *widget) const;
    QString askSaveLocation(const QString &suggestedPath) const;

    QWebEngineProfile *m_profile = nullptr;
    QPointer<QWebEngineView> m_view;
    QPointer<QWebEnginePage> m_page;
    SaveLocationChooser m_chooseSaveLocation;
};

} // namespace tarvelo
