#pragma once

#include "WindowFixture.h"
#include "gui/browser/WebEngineBrowser.h"
#include "gui/filling/FillingPanel.h"
#include "gui/filling/KeyStateFilter.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QWindow>

#include <optional>

namespace tarvelo {

// The window with the real browser and key state, started up as a run does
// it and shown, its help page loaded and then its campaign store opened.
class WebWindow
{
public:
    WebWindow()
    {
        fx.session->startUp();
        if (!fx.showActive() || !QTest::qWaitFor([&] { return completions.size() == 1; }, 30000))
            qWarning("the help page did not load");
        if (!fx.storeOpened())
            qWarning("the campaign store did not open");
        completions.clear();
        // What the status line said as each load completed: a link the mouse
        // rests on may replace it a moment later, as in any browser.
        QObject::connect(&browser, &Browser::downloadComplete, &browser, [this] {
            statusWhenDone << fx.control<QLabel>(QStringLiteral("lblStatus"))->text();
        });
    }
    MainWindow &window() { return fx.window(); }
    // A script in the browser's own world; the callback may answer after we gave up.
    QVariant run(const QString &script)
    {
        const auto answer = std::make_shared<std::optional<QVariant>>();
        browser.runIsolatedScript(script, [answer](const QVariant &value) { *answer = value; });
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 10000);
        return answer->value_or(QStringLiteral("<no answer>"));
    }
    // A double-click on the address, added to the end of the site list.
    void openSite(const QString &address)
    {
        auto *list = fx.control<QListWidget>(QStringLiteral("lstSites"));
        list->addItem(address);
        list->scrollToBottom();
        const QPoint at = list->visualItemRect(list->item(list->count() - 1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // A click as the platform delivers it: through the window.
    void click(QWidget *widget, QPoint at)
    {
        QTest::mouseClick(window().windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(&window(), at));
    }
    // Clicks into the page's element `id` as the user does, does `act`, and
    // reads the element's value back once it is `expected`, or after 5 s.
    QString inBox(const QString &id, const std::function<void()> &act, const QString &expected)
    {
        const QString box = QStringLiteral("document.getElementById('%1')").arg(id);
        const QVariantList at = run(box + QStringLiteral(".getBoundingClientRect().toJSON()"))
                                    .toMap()
                                    .values(); // bottom height left right top width x y
        lastBox = QPoint(at.value(2).toInt() + 10, at.value(4).toInt() + 10);
        click(browser.view(), lastBox);
        (void)QTest::qWaitFor([&] {
            return fx.session->filling().browserHasFocus() &&
                   run(QStringLiteral("document.activeElement.id")) == id;
        });
        act();
        QString value;
        (void)QTest::qWaitFor(
            [&] { return (value = run(box + QStringLiteral(".value")).toString()) == expected; });
        return value;
    }

    KeyStateFilter keys;
    WebEngineBrowser browser;
    WindowFixture fx{&browser, &keys, WindowFixture::openBuiltIn, WindowFixture::Store::Opening};
    QSignalSpy completions{&browser, &Browser::downloadComplete};
    QStringList statusWhenDone;
    QPoint lastBox; // where inBox clicked, in the view
};

} // namespace tarvelo
