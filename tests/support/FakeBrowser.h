#pragma once

#include "gui/browser/Browser.h"

#include <QPointer>
#include <QWidget>

namespace tarvelo {

// Stands in for the real browser where no page is needed.
class FakeBrowser : public Browser
{
    Q_OBJECT
public:
    FakeBrowser() : m_view(new QWidget) {}
    ~FakeBrowser() override { delete m_view; } // unless the window took it with itself
    QWidget *widget() override { return m_view; }
    void navigate(const QString &address) override { navigations.append(address); }
    bool goBack() override { return false; }
    bool goForward() override { return false; }
    void stop() override {}
    void refresh() override {}
    void selectAll() override {}
    void paste() override { ++pastes; }
    void setFocus() override {}
    bool hasFocus() const override { return false; }
    QString locationUrl() const override { return {}; }
    // Answers at once, as a browser without a page: nothing.
    void runIsolatedScript(const QString &, std::function<void(const QVariant &)> done) override
    {
        if (done)
            done({});
    }

    int pastes = 0;
    QStringList navigations;

private:
    QPointer<QWidget> m_view;
};

} // namespace tarvelo
