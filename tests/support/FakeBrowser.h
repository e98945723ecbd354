#pragma once

#include "gui/browser/Browser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace tarvelo {

// Stands in for the real browser in window tests that need no page: records
// what the window asked of it.
class FakeBrowser : public Browser
{
    Q_OBJECT
public:
    explicit FakeBrowser(QObject *parent = nullptr);
    ~FakeBrowser() override;

    QWidget *widget() override { return m_view; }
    void navigate(const QString &address) override { calls << QStringLiteral("navigate ") + address; }
    bool goBack() override;
    bool goForward() override;
    void stop() override { calls << QStringLiteral("stop"); }
    void refresh() override { calls << QStringLiteral("refresh"); }
    void selectAll() override { calls << QStringLiteral("selectAll"); }
    void paste() override { calls << QStringLiteral("paste"); }
    void setFocus() override;
    bool hasFocus() const override;
    QString locationUrl() const override { return location; }
    void runIsolatedScript(const QString &script,
                           std::function<void(const QVariant &)> done) override;

    QStringList calls;
    QStringList scripts;
    QString location;

private:
    QPointer<QWidget> m_view;
};

} // namespace tarvelo
