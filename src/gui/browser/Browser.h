#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>

class QWidget;

namespace tarvelo {

// The embedded browser as the window uses it: exactly these operations and events.
// WebEngineBrowser is the real one; tests may stand in a scripted one.
class Browser : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~Browser() override = default;

    // The widget the window places in fraBrowser.
    virtual QWidget *widget() = 0;

    virtual void navigate(const QString &address) = 0;
    // false when there is no page to go to; the page stays as it was
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;

    // Act on the element that has the focus inside the page, even when the
    // browser widget itself has just lost the keyboard focus.
    virtual void selectAll() = 0;
    virtual void paste() = 0;

    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual QString locationUrl() const = 0;

    // Runs a script against the page document in a world of its own, so page
    // scripts never see ours. done (if given) receives the script's result.
    virtual void runIsolatedScript(const QString &script,
                                   std::function<void(const QVariant &)> done = {}) = 0;

Q_SIGNALS:
    void gotFocus();
    void lostFocus();
    void statusTextChange(const QString &text);
    void progressChange(int progress, int maximum);
    void downloadComplete();
    void titleChange(const QString &text);
    // The page sent a form from its main frame; page is the address it was
    // sent from (the directory's form page).
    void formSubmitted(const QUrl &page);
};

} // namespace tarvelo
