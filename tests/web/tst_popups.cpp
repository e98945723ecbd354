#include "core/browser/AutoFillScript.h"
#include "gui/browser/PopupWindow.h"
#include "gui/browser/WebEngineBrowser.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineHistory>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;
using namespace tarvelo;

static QVariant evaluate(QWebEnginePage *page, const QString &script,
                         quint32 world = QWebEngineScript::MainWorld)
{
    std::optional<QVariant> result;
    page->runJavaScript(script, world, [&](const QVariant &value) { result = value; });
    return QTest::qWaitFor([&] { return result.has_value(); }, 10000) ? *result : u"no answer"_s;
}

// A real mouse click on the middle of the element: a person's gesture to the engine.
static void click(QWebEngineView *view, const QString &id)
{
    const QString centre = u"(function (r) { return [r.x + r.width / 2, r.y + r.height / 2]; })"
                           "(document.getElementById('%1').getBoundingClientRect())"_s;
    const QVariantList xy = evaluate(view->page(), centre.arg(id)).toList();
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {},
                      QPoint(xy.value(0).toInt(), xy.value(1).toInt()));
}

class TestPopups : public QObject
{
    Q_OBJECT
    WebEngineBrowser m_browser;
    QWebEnginePage *const main = m_browser.page();
    QList<PopupWindow *> popups() const { return PopupWindow::allOf(m_browser.profile()); }

private Q_SLOTS:
    void initTestCase()
    {
        m_browser.widget()->resize(800, 600);
        m_browser.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_browser.widget()));
    }
    void cleanup() { qDeleteAll(popups()); }

    void newWindow_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("clicked"); // the element's id, or none
        QTest::addColumn<QSize>("pageSize");  // in the popup; invalid: no popup opens
        QTest::addColumn<bool>("pageCloses"); // by window.close(), else by Ctrl+W
        QTest::newRow("_blank link") << u"popups.html"_s << u"blank"_s << QSize(900, 700) << false;
        QTest::newRow("open on click") << u"popups.html"_s << u"open"_s << QSize(500, 400) << true;
        QTest::newRow("open at load") << u"popup-at-load.html"_s << u""_s << QSize() << false;
    }
    void newWindow()
    {
        QFETCH(QString, page);
        QFETCH(QString, clicked);
        QFETCH(QSize, pageSize);
        QFETCH(bool, pageCloses);
        QSignalSpy loaded(main, &QWebEnginePage::loadFinished);
        m_browser.navigate(QStringLiteral(TARVELO_TEST_DATA "/web/") + page);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);
        evaluate(main, u"box.value = 'typed'"_s);
        const int history = main->history()->count();
        if (!clicked.isEmpty())
            click(m_browser.view(), clicked);
        if (pageSize.isValid()) {
            QTRY_COMPARE_WITH_TIMEOUT(popups().size(), 1, 10000);
            PopupWindow *popup = popups().constFirst();
            QTRY_COMPARE_WITH_TIMEOUT(popup->windowTitle(), u"Popup target - Tarvelo"_s, 10000);
            const QString done = u" Done - "_s + popup->page()->url().toString();
            QTRY_COMPARE(popup->findChild<QLabel *>(u"lblStatus"_s)->text(), done);
            QCOMPARE(popup->view()->size(), pageSize);
            if (pageCloses)
                evaluate(popup->page(), u"window.close()"_s);
            else
                QTest::keyClick(popup->view()->focusProxy(), Qt::Key_W, Qt::ControlModifier);
        } else {
            QTRY_COMPARE(main->title(), u"blocked"_s); // the page's window.open answered null
        }
        QTRY_COMPARE(popups().size(), 0);
        QCOMPARE(main->url().fileName(), page);
        QCOMPARE(main->history()->count(), history);
        QCOMPARE(evaluate(main, u"box.value"_s), u"typed"_s);
    }

    void autoFillTypes_data()
    {
        QTest::addColumn<QString>("element"); // its id is "t"
        QTest::addColumn<bool>("written");
        const QString input = uR"(<input id="t" name="URL" type="%1" value="old">)"_s;
        const QStringList typed = u"text url search email tel"_s.split(u' ');
        const QString other = u"hidden checkbox radio button submit reset image file password"_s;
        for (const QString &type : typed + other.split(u' '))
            QTest::newRow(qPrintable(type)) << input.arg(type) << typed.contains(type);
        QTest::newRow("no type") << uR"(<input id="t" name="pad" value="old">)"_s << true;
        QTest::newRow("textarea") << uR"(<textarea id="t" name="pad">old</textarea>)"_s << true;
        QTest::newRow("select") << uR"(<select id="t" name="pad"><option>old</select>)"_s << false;
        QTest::newRow("button element") << uR"(<button id="t" name="pad" value="old">)"_s << false;
    }
    void autoFillTypes()
    {
        QFETCH(QString, element);
        QFETCH(bool, written);
        const QString padUrl = u"https://example.org/pad/app.xml"_s;
        const QString body =
            u"document.body.innerHTML = %1; t.value"_s.arg(AutoFillScript::jsonLiteral(element));
        const QVariant before = evaluate(main, body);
        const QString fill = AutoFillScript::build(padUrl);
        QCOMPARE(evaluate(main, fill, QWebEngineScript::ApplicationWorld).toInt(), written ? 1 : 0);
        QCOMPARE(evaluate(main, u"t.value"_s), written ? QVariant(padUrl) : before);
    }
};

QTEST_MAIN(TestPopups)
#include "tst_popups.moc"
