#include "ScriptRunner.h"
#include "browser/AutoFillScript.h"
#include "browser/BrowserPanel.h"
#include "browser/WebEngineBrowser.h"
#include "ui/FrmMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace tarvelo;

// The window's browser part with the real browser: what the user sees after
// Home, after a double-click on a site and after the page's load completes.
class TestBrowserPanelWeb : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void homeShowsHelpPage();
    void helpPageStructure_data();
    void helpPageStructure();
    void siteOpensAndPadUrlIsFilled();

private:
    bool showAndActivate();

    std::unique_ptr<QTemporaryDir> m_dir;
    WebEngineBrowser *m_browser = nullptr;
    std::unique_ptr<FrmMain> m_window;
    BrowserPanel *m_panel = nullptr;
    QStringList m_told;
};

void TestBrowserPanelWeb::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_told.clear();
    m_browser = new WebEngineBrowser;
    m_window = std::make_unique<FrmMain>(m_browser);
    m_browser->setParent(m_window.get());
    m_panel = new BrowserPanel(
        *m_window, [this](const QString &message) { m_told << message; },
        HelpPage(HelpPage::resourcePath(), {m_dir->path()}));
}

void TestBrowserPanelWeb::cleanup()
{
    m_window.reset();
    m_browser = nullptr;
    m_panel = nullptr;
}

bool TestBrowserPanelWeb::showAndActivate()
{
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    return QTest::qWaitForWindowActive(m_window.get());
}

void TestBrowserPanelWeb::homeShowsHelpPage()
{
    m_panel->home(); // as the start-up sequence does, before the window shows
    const QString file = m_dir->filePath(u"tempIndex.html"_s);

    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), u"First things first - Tarvelo"_s, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->lblStatus->text(),
                              u" Done - "_s + QUrl::fromLocalFile(file).toString(), 20000);
    QCOMPARE(m_window->lblProgress->text(), QString());
    QVERIFY(m_told.isEmpty());
}

void TestBrowserPanelWeb::helpPageStructure_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("title") << u"document.title"_s << QVariant(u"First things first"_s);
    QTest::newRow("charset") << u"document.characterSet"_s << QVariant(u"UTF-8"_s);
    QTest::newRow("background") << u"getComputedStyle(document.body).backgroundColor"_s
                                << QVariant(u"rgb(255, 255, 204)"_s);
    QTest::newRow("body text") << u"getComputedStyle(document.body).fontSize"_s
                               << QVariant(u"11px"_s);
    QTest::newRow("five sections") << u"document.querySelectorAll('h2').length"_s << QVariant(5);
    QTest::newRow("numbered lines in each")
        << u"Array.prototype.every.call(document.querySelectorAll('h2'), function (h) {"
           "  var list = h.nextElementSibling;"
           "  return list.tagName === 'OL' && list.children.length > 1; })"_s
        << QVariant(true);
    QTest::newRow("headings") << u"Array.prototype.map.call(document.querySelectorAll('h2'),"
                                 " function (h) { var s = getComputedStyle(h);"
                                 " return [s.fontSize, s.fontWeight, s.color].join(' '); })"
                                 ".join('|')"_s
                              << QVariant(u"16px 700 rgb(0, 128, 0)|"_s.repeated(4) +
                                          u"16px 700 rgb(0, 128, 0)"_s);
    QTest::newRow("first section")
        << u"document.querySelector('h2').textContent"_s << QVariant(u"First things first"_s);
    QTest::newRow("what is PAD has a tooltip")
        << u"Array.prototype.some.call(document.querySelectorAll('[title]'), function (e) {"
           "  return e.textContent === 'What is PAD?' && e.title.length > 100; })"_s
        << QVariant(true);
    QTest::newRow("nothing from outside")
        << u"document.querySelectorAll('[href], [src], link, script, iframe').length"_s
        << QVariant(0);
    QTest::newRow("no address or e-mail in the text")
        << u"/https?:|www\\.|@/.test(document.body.innerText)"_s << QVariant(false);
    QTest::newRow("no input the fill would touch")
        << u"document.querySelectorAll('input, textarea, select').length"_s << QVariant(0);
}

void TestBrowserPanelWeb::helpPageStructure()
{
    QFETCH(QString, expression);
    QFETCH(QVariant, value);

    m_panel->home();
    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), u"First things first - Tarvelo"_s, 20000);
    const QVariant result = runScriptAndWait(*m_browser, expression);
    QCOMPARE(result.toString(), value.toString());
}

void TestBrowserPanelWeb::siteOpensAndPadUrlIsFilled()
{
    // A site entry that points at a local form page: the test adds it, the
    // program never does.
    const QString form = QStringLiteral(TARVELO_TEST_DATA "/web/padform.html");
    m_window->lstSites->addItem(form);
    QListWidgetItem *site = m_window->lstSites->item(m_window->lstSites->count() - 1);
    m_window->txtPADURL[0]->setText(u"https://example.org/first.xml"_s);
    m_window->txtPADURL[1]->setText(u"https://example.org/second.xml"_s);
    m_window->setCurrentProfileTag(u"0"_s);
    QVERIFY(showAndActivate());

    m_window->lstSites->scrollToItem(site);
    const QPoint where = m_window->lstSites->visualItemRect(site).center();
    QTest::mouseClick(m_window->lstSites->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(m_window->lstSites->viewport(), Qt::LeftButton, {}, where);

    QTRY_COMPARE_WITH_TIMEOUT(m_window->windowTitle(), u"PAD submission - Tarvelo"_s, 20000);
    QTRY_VERIFY(m_browser->hasFocus());
    const QString state =
        u"[document.forms.formpad.padurl.value, document.forms.formpad.pad_url.value,"
        " document.forms.formpad.padcat.selectedIndex, document.forms.formpad.program.value]"
        ".join(' ')"_s;
    QTRY_COMPARE(runScriptAndWait(*m_browser, state).toString(),
                 u"https://example.org/first.xml https://example.org/first.xml 2 unchanged"_s);
    QCOMPARE(m_window->lblStatus->text(), u" Done - "_s + QUrl::fromLocalFile(form).toString());

    // Another profile made current: the next completed load writes its URL.
    m_window->setCurrentProfileTag(u"1"_s);
    m_window->cmdRefresh->click();
    QTRY_COMPARE_WITH_TIMEOUT(
        runScriptAndWait(*m_browser, state).toString(),
        u"https://example.org/second.xml https://example.org/second.xml 2 unchanged"_s, 20000);
}

QTEST_MAIN(TestBrowserPanelWeb)
#include "tst_browserpanel.moc"
