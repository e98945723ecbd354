#include "FakeBrowser.h"
#include "browser/AutoFillScript.h"
#include "browser/BrowserPanel.h"
#include "browser/SiteDirectory.h"
#include "ui/FrmMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBrowserPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void siteListIsTheShippedList();
    void doubleClickOpensSiteAndFocusesBrowser();
    void buttonsDriveTheBrowser_data();
    void buttonsDriveTheBrowser();
    void padButtonFocusesSiteList();
    void homeWritesAndShowsHelpPage();
    void homeTellsOnceWhenNoFolderTakesThePage();
    void removeHelpPageDeletesTheFile();
    void browserEventsShowInWindow_data();
    void browserEventsShowInWindow();
    void downloadCompleteShowsDoneThenFills();
    void fillUsesProfileCurrentAtCompletion();

private:
    void makePanel(const QStringList &helpFolders);
    bool showAndActivate();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeBrowser> m_browser;
    std::unique_ptr<FrmMain> m_window;
    BrowserPanel *m_panel = nullptr;
    QStringList m_told;
};

void TestBrowserPanel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_told.clear();
    makePanel({m_dir->path()});
}

void TestBrowserPanel::cleanup()
{
    m_window.reset();
    m_browser.reset();
    m_panel = nullptr;
}

void TestBrowserPanel::makePanel(const QStringList &helpFolders)
{
    m_window.reset();
    m_browser = std::make_unique<FakeBrowser>();
    m_window = std::make_unique<FrmMain>(m_browser.get());
    m_panel = new BrowserPanel(
        *m_window, [this](const QString &message) { m_told << message; },
        HelpPage(HelpPage::resourcePath(), helpFolders));
}

bool TestBrowserPanel::showAndActivate()
{
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    return QTest::qWaitForWindowActive(m_window.get());
}

void TestBrowserPanel::siteListIsTheShippedList()
{
    const QStringList shipped = SiteDirectory::parse(
        readBytes(QStringLiteral(TARVELO_TEST_DATA "/../../resources/sites.txt")));
    QVERIFY(!shipped.isEmpty());
    QStringList shown;
    for (int row = 0; row < m_window->lstSites->count(); ++row)
        shown << m_window->lstSites->item(row)->text();
    QCOMPARE(shown, shipped);
}

void TestBrowserPanel::doubleClickOpensSiteAndFocusesBrowser()
{
    QVERIFY(showAndActivate());
    QListWidget *list = m_window->lstSites;
    QVERIFY(list->count() > 3);
    m_browser->calls.clear();

    const QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    QVERIFY(m_browser->calls.isEmpty()); // a single click only selects
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, third.center());

    QCOMPARE(m_browser->calls,
             (QStringList{u"navigate "_s + list->item(2)->text(), u"setFocus"_s}));
    QTRY_VERIFY(m_browser->hasFocus());
}

void TestBrowserPanel::buttonsDriveTheBrowser_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("call");

    QTest::newRow("back") << u"cmdBack"_s << u"goBack"_s;
    QTest::newRow("forward") << u"cmdForward"_s << u"goForward"_s;
    QTest::newRow("stop") << u"cmdStop"_s << u"stop"_s;
    QTest::newRow("refresh") << u"cmdRefresh"_s << u"refresh"_s;
}

void TestBrowserPanel::buttonsDriveTheBrowser()
{
    QFETCH(QString, button);
    QFETCH(QString, call);
    auto *control = m_window->findChild<QAbstractButton *>(button);
    QVERIFY(control);
    m_window->lblStatus->setText(u" status"_s);
    m_browser->calls.clear();

    control->click();
    QCOMPARE(m_browser->calls, QStringList{call});
    // the fake answers "no such page" to Back and Forward: nothing else happens
    QCOMPARE(m_window->lblStatus->text(), u" status"_s);
    QVERIFY(m_told.isEmpty());
}

void TestBrowserPanel::padButtonFocusesSiteList()
{
    QVERIFY(showAndActivate());
    m_browser->setFocus();
    QTRY_VERIFY(m_browser->hasFocus());
    m_browser->calls.clear();

    m_window->cmdPAD->click();
    QTRY_VERIFY(m_window->lstSites->hasFocus());
    QVERIFY(m_browser->calls.isEmpty());
}

void TestBrowserPanel::homeWritesAndShowsHelpPage()
{
    const QString file = m_dir->filePath(u"tempIndex.html"_s);
    QVERIFY(QFile(file).open(QIODevice::WriteOnly)); // an older copy to overwrite
    QVERIFY(showAndActivate());
    m_browser->calls.clear();

    m_window->cmdHome->click();
    QCOMPARE(m_browser->calls, QStringList{u"navigate "_s + file});
    QCOMPARE(readBytes(file), readBytes(HelpPage::resourcePath()));
    QVERIFY(readBytes(file).contains("<title>First things first</title>"));
    QTRY_VERIFY(m_window->lstSites->hasFocus());
    QVERIFY(m_told.isEmpty());
}

void TestBrowserPanel::homeTellsOnceWhenNoFolderTakesThePage()
{
    QFile plain(m_dir->filePath(u"plain"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    makePanel({m_dir->filePath(u"plain/sub"_s)});

    m_panel->home(); // as at start-up: the window is not shown yet
    m_panel->home();
    QCOMPARE(m_told.size(), 1);
    const QStringList navigations = m_browser->calls.filter(u"navigate "_s);
    QCOMPARE(navigations.size(), 2);
    QVERIFY(navigations.first().startsWith(u"navigate data:text/html;"_s));
}

void TestBrowserPanel::removeHelpPageDeletesTheFile()
{
    const QString file = m_dir->filePath(u"tempIndex.html"_s);
    m_panel->home();
    QVERIFY(QFile::exists(file));
    m_panel->removeHelpPage();
    QVERIFY(!QFile::exists(file));
    m_panel->removeHelpPage(); // already gone: nothing to report
    QVERIFY(m_told.isEmpty());
}

void TestBrowserPanel::browserEventsShowInWindow_data()
{
    QTest::addColumn<QStringList>("events"); // "status text", "progress p m", "title text"
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("caption");

    QTest::newRow("status text") << QStringList{u"status http://example.org/a"_s}
                                 << u" http://example.org/a"_s << QString() << u"Tarvelo"_s;
    QTest::newRow("empty status text")
        << QStringList{u"status "_s} << u" "_s << QString() << u"Tarvelo"_s;
    QTest::newRow("progress 23 of 200")
        << QStringList{u"progress 23 200"_s} << QString() << u"##"_s << u"Tarvelo"_s;
    QTest::newRow("above 100 leaves the bar")
        << QStringList{u"progress 55 100"_s, u"progress 150 100"_s} << QString() << u"######"_s
        << u"Tarvelo"_s;
    QTest::newRow("end of load empties the bar")
        << QStringList{u"progress 100 100"_s, u"progress -1 100"_s} << QString() << QString()
        << u"Tarvelo"_s;
    QTest::newRow("overflow empties the bar")
        << QStringList{u"progress 100 100"_s, u"progress 21474837 100"_s} << QString() << QString()
        << u"Tarvelo"_s;
    QTest::newRow("title") << QStringList{u"title First things first"_s} << QString() << QString()
                           << u"First things first - Tarvelo"_s;
    QTest::newRow("empty title") << QStringList{u"title Page"_s, u"title "_s} << QString()
                                 << QString() << u"Tarvelo"_s;
}

void TestBrowserPanel::browserEventsShowInWindow()
{
    QFETCH(QStringList, events);
    QFETCH(QString, status);
    QFETCH(QString, progress);
    QFETCH(QString, caption);

    m_window->lblStatus->clear();
    m_window->lblProgress->clear();
    for (const QString &event : std::as_const(events)) {
        const QString kind = event.section(u' ', 0, 0);
        const QString rest = event.section(u' ', 1);
        if (kind == u"status")
            Q_EMIT m_browser->statusTextChange(rest);
        else if (kind == u"title")
            Q_EMIT m_browser->titleChange(rest);
        else
            Q_EMIT m_browser->progressChange(rest.section(u' ', 0, 0).toInt(),
                                             rest.section(u' ', 1, 1).toInt());
    }
    QCOMPARE(m_window->lblStatus->text(), status);
    QCOMPARE(m_window->lblProgress->text(), progress);
    QCOMPARE(m_window->windowTitle(), caption);
    QVERIFY(m_browser->scripts.isEmpty()); // only a completed load fills
}

void TestBrowserPanel::downloadCompleteShowsDoneThenFills()
{
    m_browser->location = u"file:///tmp/tempIndex.html"_s;
    m_window->txtPADURL[0]->setText(u"https://example.org/pad.xml"_s);
    m_window->setCurrentProfileTag(u"0"_s);
    Q_EMIT m_browser->statusTextChange(u"earlier"_s);

    Q_EMIT m_browser->downloadComplete();
    QCOMPARE(m_window->lblStatus->text(), u" Done - file:///tmp/tempIndex.html"_s);
    QCOMPARE(m_browser->scripts,
             QStringList{AutoFillScript::build(u"https://example.org/pad.xml"_s)});

    // every completion fills again; a later status text wins the label
    Q_EMIT m_browser->downloadComplete();
    QCOMPARE(m_browser->scripts.size(), 2);
    Q_EMIT m_browser->statusTextChange(u"later"_s);
    QCOMPARE(m_window->lblStatus->text(), u" later"_s);
}

void TestBrowserPanel::fillUsesProfileCurrentAtCompletion()
{
    for (int profile = 0; profile < ProfileCount; ++profile)
        m_window->txtPADURL[profile]->setText(u"https://example.org/%1.xml"_s.arg(profile));
    m_window->setCurrentProfileTag(u"2"_s);
    Q_EMIT m_browser->downloadComplete();
    m_window->setCurrentProfileTag(u"1"_s);
    m_window->txtPADURL[1]->setText(QString()); // an empty box empties the inputs
    Q_EMIT m_browser->downloadComplete();

    QCOMPARE(m_browser->scripts, (QStringList{AutoFillScript::build(u"https://example.org/2.xml"_s),
                                              AutoFillScript::build(QString())}));
}

QTEST_MAIN(TestBrowserPanel)
#include "tst_browserpanel.moc"
