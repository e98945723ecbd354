// The Sites tab on a store in a temporary file, with a site check against 127.0.0.1.
#include "../unit/LocalHttpServer.h"
#include "ScriptedDialogs.h"
#include "core/campaign/CampaignStore.h"
#include "gui/sites/CampaignBar.h"
#include "gui/sites/SiteCheckRun.h"
#include "gui/sites/SiteTableModel.h"
#include "gui/sites/SitesTab.h"
#include "gui/window/MainWindow.h"
#include "gui/window/TabControl.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

struct TabFixture
{
    explicit TabFixture(const QList<SiteEntry> &sites = {})
    {
        if (!store.open(dir.filePath(u"campaign.sqlite"_s), {}).ok)
            qFatal("no store");
        for (const SiteEntry &site : sites)
            ids << store.addSite(site).value_or(0);
        program = store.programId({u"https://example.com/pad.xml"_s, u"Tool"_s});
    }
    void show()
    {
        tab.setProgram(program, u"2.0"_s);
        tab.show();
    }
    template <class T = QWidget> T *control(const QString &name)
    {
        T *found = tab.findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void click(const QString &button) { control<QPushButton>(button)->click(); }
    // As a click on the row does it; selectRow() needs the header laid out.
    void select(qint64 siteId)
    {
        tab.table()->selectionModel()->setCurrentIndex(
            tab.model()->index(tab.model()->rowOf(siteId), 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QStringList shownAddresses() const
    {
        QStringList shown;
        for (int row = 0; row < tab.model()->rowCount(); ++row)
            shown << tab.model()->site(row)->address;
        return shown;
    }
    QString cell(qint64 siteId, int column) const
    {
        return tab.model()->index(tab.model()->rowOf(siteId), column).data().toString();
    }
    QString said() const
    {
        QStringList texts;
        for (const auto &m : dialogs.messages)
            texts << m.text;
        return texts.join(u"\n---\n"_s);
    }

    QTemporaryDir dir;
    CampaignStore store;
    ScriptedDialogs dialogs;
    QList<qint64> ids;
    qint64 program = 0;
    SitesTab tab{store, dialogs};
    QSignalSpy sitesChanged{&tab, &SitesTab::sitesChanged};
};

const QList<SiteEntry> sixSites = {
    {u"http://alpha.example.com/submit"_s, u"Alpha Downloads"_s, u"fast"_s},
    {u"https://Beta.example.org"_s, u"beta soft"_s, {}},
    {u"http://gamma.test/add"_s, u"Gamma"_s, u"asks for e-mail, like ALPHA"_s},
    {u"http://delta.test"_s, u"Delta"_s, {}},
    {u"http://epsilon.test"_s, {}, {}},
    {u"http://zeta.test"_s, u"Zeta"_s, u"Zeta wants a screenshot"_s},
};

} // namespace

class TestSitesTab : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filterAndSearch_data();
    void filterAndSearch();
    void showsAnotherProgramAtOnce();
    void addAndEdit_data();
    void addAndEdit();
    void retireAndDead_data();
    void retireAndDead();
    void importList_data();
    void importList();
    void exportThenImportAddsNothing();
    void checkSites_data();
    void checkSites();
    void cancelCheck();
    void taughtBoxes();
    void thirdPageOfTheWindow();
};

void TestSitesTab::filterAndSearch_data()
{
    QTest::addColumn<QString>("state"); // the filter's text
    QTest::addColumn<QString>("search");
    QTest::addColumn<QList<int>>("shown"); // indexes into sixSites
    const QString all = u"All states"_s;
    QTest::newRow("everything") << all << QString() << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("name and note, any case") << all << u"alpha"_s << QList<int>{0, 2};
    QTest::newRow("address, capitals, blanks") << all << u" BETA.EXAMPLE "_s << QList<int>{1};
    QTest::newRow("update due") << u"Update due"_s << QString() << QList<int>{4};
    QTest::newRow("dead") << u"Dead"_s << QString() << QList<int>{3};
    QTest::newRow("to do: no history") << u"To do"_s << QString() << QList<int>{2};
    QTest::newRow("listed and searched") << u"Listed"_s << u"beta"_s << QList<int>{1};
    QTest::newRow("state and search apart") << u"Listed"_s << u"alpha"_s << QList<int>{};
}

void TestSitesTab::filterAndSearch()
{
    QFETCH(QString, state);
    QFETCH(QString, search);
    QFETCH(QList<int>, shown);
    TabFixture fx(sixSites);
    const QList<qint64> &id = fx.ids;
    fx.store.setState(fx.program, id[0], SiteState::Submitted, u"2.0"_s);
    fx.store.setState(fx.program, id[1], SiteState::Listed, u"2.0"_s);
    fx.store.setSiteDead(id[3], true);
    fx.store.setState(fx.program, id[4], SiteState::Submitted, u"1.9"_s);
    fx.store.setState(fx.program, id[5], SiteState::Rejected, {});
    fx.show();

    auto *filter = fx.control<QComboBox>(u"cboStateFilter"_s);
    filter->setCurrentIndex(filter->findText(state));
    QVERIFY(filter->currentIndex() >= 0);
    auto *box = fx.control<QLineEdit>(u"txtSiteSearch"_s);
    QTest::keyClicks(box, search + u"zq"_s);
    QVERIFY(fx.shownAddresses().isEmpty());
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QStringList expected;
    for (int i : shown)
        expected << sixSites[i].address;
    QCOMPARE(fx.shownAddresses(), expected);
    QCOMPARE(fx.control<QLabel>(u"lblSiteCount"_s)->text(), u"%1 of 6 sites"_s.arg(shown.size()));
    // The bar counts every site, whatever the filter shows.
    QCOMPARE(fx.control(u"barCampaign"_s)->accessibleDescription(),
             u"1 listed, 1 submitted, 1 update due, 1 rejected, 1 dead, 1 to do"_s);
}

void TestSitesTab::showsAnotherProgramAtOnce()
{
    TabFixture fx(sixSites);
    fx.show();
    fx.store.setState(fx.program, fx.ids[2], SiteState::Skipped, {});
    fx.tab.setProgram(fx.store.programId({u"https://example.com/other.xml"_s, u"Other"_s}), {});
    fx.tab.setProgram(fx.program, u"2.0"_s);
    QCOMPARE(fx.cell(fx.ids[2], SiteTableModel::StateColumn), u"Skipped"_s);
}

void TestSitesTab::addAndEdit_data()
{
    QTest::addColumn<int>("edit"); // the site edited, -1 to add one
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("told"); // part of the warning; empty when taken
    QTest::newRow("add") << -1 << u"https://new.test/submit"_s << QString();
    QTest::newRow("add a bad address") << -1 << u"ftp://files.test"_s << u"cannot be a site"_s;
    QTest::newRow("add a duplicate") << -1 << u"HTTP://ALPHA.example.com:80/submit/"_s
                                     << u"\u201chttp://alpha.example.com/submit\u201d, which is "
                                        u"in the list already"_s;
    QTest::newRow("edit") << 1 << u"https://beta.example.org/new"_s << QString();
    QTest::newRow("edit to its own address") << 1 << u"https://BETA.example.org/"_s << QString();
    QTest::newRow("edit to another's")
        << 1 << u"http://gamma.test/add"_s << u"is the same site as"_s;
    QTest::newRow("edit to a retired site's")
        << 1 << u"http://zeta.test"_s << u"which was retired; add it to bring it back"_s;
}

void TestSitesTab::addAndEdit()
{
    QFETCH(int, edit);
    QFETCH(QString, address);
    QFETCH(QString, told);
    TabFixture fx(sixSites);
    fx.store.retireSite(fx.ids[5]);
    fx.show();
    const SiteEntry entry{address, u"Named"_s, u"a note, with a comma"_s};
    fx.dialogs.siteEdits << entry;
    if (edit >= 0) {
        fx.select(fx.ids[edit]);
        fx.click(u"cmdEditSite"_s);
        QCOMPARE(fx.dialogs.siteEditsShown.value(0), sixSites[edit]);
    } else {
        fx.click(u"cmdAddSite"_s);
    }
    if (!told.isEmpty()) {
        QCOMPARE(fx.dialogs.messages.size(), 1);
        QVERIFY2(fx.dialogs.messages[0].text.contains(told),
                 qPrintable(fx.dialogs.messages[0].text));
        QCOMPARE(fx.store.sites().size(), 5);
        QCOMPARE(fx.store.site(fx.ids[1])->address, sixSites[1].address);
        QCOMPARE(fx.sitesChanged.size(), 0);
        return;
    }
    QVERIFY(fx.dialogs.messages.isEmpty());
    QCOMPARE(fx.sitesChanged.size(), 1);
    const auto id = fx.store.siteIdFor(address);
    QVERIFY(id);
    QCOMPARE(fx.store.site(*id)->note, entry.note);
    QCOMPARE(fx.tab.model()->site(fx.tab.model()->rowOf(*id))->address,
             fx.store.site(*id)->address);
    QCOMPARE(fx.tab.model()->rowCount(), edit < 0 ? 6 : 5);
}

void TestSitesTab::retireAndDead_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("state"); // in the table afterwards; empty when gone
    QTest::newRow("retire, no") << u"cmdRetireSite"_s << QMessageBox::No << u"Submitted"_s;
    QTest::newRow("retire, yes") << u"cmdRetireSite"_s << QMessageBox::Yes << QString();
    QTest::newRow("mark dead") << u"cmdMarkDead"_s << QMessageBox::NoButton << u"Dead"_s;
}

void TestSitesTab::retireAndDead()
{
    QFETCH(QString, button);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, state);
    TabFixture fx(sixSites);
    fx.store.setState(fx.program, fx.ids[0], SiteState::Submitted, u"2.0"_s);
    fx.show();
    QSignalSpy statesChanged(&fx.tab, &SitesTab::statesChanged);
    fx.select(fx.ids[0]);
    QVERIFY(!fx.control<QPushButton>(u"cmdMarkAlive"_s)->isEnabled());
    if (answer != QMessageBox::NoButton)
        fx.dialogs.answers << answer;
    fx.click(button);
    QCOMPARE(fx.dialogs.messages.size(), answer == QMessageBox::NoButton ? 0 : 1);
    const int row = fx.tab.model()->rowOf(fx.ids[0]);
    QCOMPARE(row < 0, state.isEmpty());
    QCOMPARE(fx.sitesChanged.size(), answer == QMessageBox::No ? 0 : 1);
    QCOMPARE(fx.store.site(fx.ids[0])->retired, state.isEmpty());
    if (state.isEmpty())
        return;
    QCOMPARE(fx.cell(fx.ids[0], SiteTableModel::StateColumn), state);
    if (state != u"Dead"_s)
        return;
    // Dead, the site stays selected and can come back to life.
    QCOMPARE(statesChanged.size(), 1);
    fx.click(u"cmdMarkAlive"_s);
    QCOMPARE(fx.cell(fx.ids[0], SiteTableModel::StateColumn), u"Submitted"_s);
    QCOMPARE(statesChanged.size(), 2);
}

void TestSitesTab::importList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the good lines' question
    QTest::addColumn<QStringList>("told");                   // parts of the messages
    QTest::addColumn<int>("added");
    const QByteArray mixed = "http://one.test\njavascript:alert(1)\nhttp://two.test/\n";
    QTest::newRow("bad line, yes")
        << mixed << QMessageBox::Yes
        << QStringList{u"1 line of list.txt cannot be imported:\n\nLine 2: "_s,
                       u"Import the 2 good lines"_s,
                       u"Added 2 sites; 0 were in the list already."_s}
        << 2;
    QTest::newRow("all bad") << QByteArray("ftp://x.test\n") << QMessageBox::NoButton
                             << QStringList{u"Nothing was imported from list.txt:\n\nLine 1: "_s}
                             << 0;
    QByteArray many = "http://good.test\n";
    for (int i = 0; i < 25; ++i)
        many += "mailto:x@y.test\n";
    QTest::newRow("first twenty problems")
        << many << QMessageBox::No
        << QStringList{u"Line 21: "_s, u"Line 2: "_s, u"and 5 more\n\nImport the 1 good line"_s}
        << 0;
}

void TestSitesTab::importList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QStringList, told);
    QFETCH(int, added);
    TabFixture fx(sixSites);
    fx.show();
    QFile file(fx.dir.filePath(u"list.txt"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    fx.dialogs.siteListsToOpen << file.fileName();
    if (answer != QMessageBox::NoButton)
        fx.dialogs.answers << answer;
    fx.click(u"cmdImportSites"_s);
    QCOMPARE(fx.dialogs.messages.size(), answer == QMessageBox::Yes ? 2 : 1);
    for (const QString &part : told)
        QVERIFY2(fx.said().contains(part), qPrintable(fx.said()));
    if (answer != QMessageBox::NoButton)
        QCOMPARE(fx.dialogs.messages[0].defaultButton, QMessageBox::No);
    QCOMPARE(fx.tab.model()->rowCount(), 6 + added);
    QCOMPARE(fx.sitesChanged.size(), added ? 1 : 0);
}

void TestSitesTab::exportThenImportAddsNothing()
{
    TabFixture fx(sixSites);
    fx.show();
    const QString path = fx.dir.filePath(u"out.csv"_s);
    fx.dialogs.siteListsToSave << path;
    fx.click(u"cmdExportSites"_s);
    QCOMPARE(fx.control<QLabel>(u"lblSitesInfo"_s)->text(), u"Exported 6 sites to "_s + path);
    fx.dialogs.siteListsToOpen << path;
    fx.click(u"cmdImportSites"_s);
    QCOMPARE(fx.said(), u"Added 0 sites; 6 were in the list already."_s);
}

void TestSitesTab::checkSites_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer"); // to the dead offer
    QTest::newRow("mark them dead") << QMessageBox::Yes;
    QTest::newRow("leave them") << QMessageBox::No;
}

void TestSitesTab::checkSites()
{
    QFETCH(QMessageBox::StandardButton, answer);
    LocalHttpServer::Load load;
    LocalHttpServer server(
        [](const QByteArray &, const QByteArray &path) -> QByteArray {
            if (path.startsWith("/gone"))
                return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
            return "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
        },
        &load);
    // Failed yesterday: fails again today (offered), answers today (not
    // offered); a dead site is not offered again.
    TabFixture fx({{server.url("/gone/1"), {}, {}},
                   {server.url("/back"), {}, {}},
                   {server.url("/gone/2"), {}, {}}});
    for (qint64 id : std::as_const(fx.ids))
        fx.store.recordCheck(id, {QDateTime::currentDateTimeUtc().addDays(-1), false, {}});
    fx.store.setSiteDead(fx.ids[2], true);
    fx.show();
    fx.dialogs.answers << answer;
    QSignalSpy finished(&fx.tab.checkRun(), &SiteCheckRun::finished);
    fx.dialogs.onMessage = [&](const ScriptedDialogs::Message &) {
        QVERIFY(fx.control(u"prgSiteCheck"_s)->isHidden()); // the question comes at the end
    };
    fx.click(u"cmdCheckSites"_s);
    QVERIFY(!fx.control(u"cmdCheckSites"_s)->isEnabled());
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.value(0).value(0).toBool(), false);

    QCOMPARE(fx.dialogs.messages.size(), 1);
    QCOMPARE(fx.dialogs.messages[0].text,
             u"Not answering on two different days since they last did:\n\n%1\n\nMark this "
             u"site dead?"_s.arg(server.url("/gone/1")));
    QCOMPARE(fx.dialogs.messages[0].defaultButton, QMessageBox::No);
    const bool marked = answer == QMessageBox::Yes;
    QCOMPARE(fx.store.site(fx.ids[0])->dead, marked);
    QCOMPARE(fx.sitesChanged.size(), marked ? 1 : 0);
    const QString check = fx.cell(fx.ids[0], SiteTableModel::CheckColumn);
    QVERIFY2(check.contains(u"404"_s), qPrintable(check));
    QCOMPARE(fx.control<QLabel>(u"lblSitesInfo"_s)->text(),
             u"Checked 3 of 3 sites: 1 answered, 2 did not."_s);
    QVERIFY(fx.control(u"cmdCheckSites"_s)->isEnabled());
}

void TestSitesTab::cancelCheck()
{
    LocalHttpServer::Load load;
    LocalHttpServer server([](const QByteArray &, const QByteArray &) { return QByteArray(); },
                           &load);
    TabFixture fx({{server.url("/silent/1"), {}, {}}, {server.url("/silent/2"), {}, {}}});
    for (qint64 id : std::as_const(fx.ids)) // a failure yesterday: today's would offer it
        fx.store.recordCheck(id, {QDateTime::currentDateTimeUtc().addDays(-1), false, {}});
    fx.show();
    QSignalSpy finished(&fx.tab.checkRun(), &SiteCheckRun::finished);
    fx.click(u"cmdCheckSites"_s);
    QTRY_VERIFY(load.now > 0);
    fx.click(u"cmdCancelCheck"_s);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished[0][0].toBool(), true);
    QVERIFY(fx.control(u"cmdCancelCheck"_s)->isHidden());
    QVERIFY(fx.dialogs.messages.isEmpty()); // nothing asked, nothing offered
    QVERIFY(fx.control<QLabel>(u"lblSitesInfo"_s)->text().startsWith(u"Cancelled. "_s));
}

void TestSitesTab::taughtBoxes()
{
    TabFixture fx(sixSites);
    const QString host = u"alpha.example.com"_s;
    fx.store.teachBox(host, u"input name=title"_s, u"ProgName"_s);
    fx.store.teachBox(host, u"textarea name=about"_s, u"LongDesc"_s);
    fx.store.teachBox(u"gamma.test"_s, u"input name=ver"_s, u"ProgVer"_s);
    fx.show();
    fx.select(fx.ids[0]);
    fx.dialogs.answers << QMessageBox::No << QMessageBox::Yes;
    fx.click(u"cmdTaughtBoxes"_s);
    QVERIFY2(fx.said().contains(
                 u"input name=title \u2192 ProgName\ntextarea name=about \u2192 LongDesc"_s),
             qPrintable(fx.said()));
    QCOMPARE(fx.store.taughtBoxes(host).size(), 2); // kept
    fx.click(u"cmdTaughtBoxes"_s);
    QCOMPARE(fx.store.taughtBoxes(host).size(), 0);
    QCOMPARE(fx.store.taughtBoxes(u"gamma.test"_s).size(), 1); // another site's stay
    fx.click(u"cmdTaughtBoxes"_s);
    QCOMPARE(fx.dialogs.messages.last().text, u"No form boxes have been taught on %1."_s.arg(host));
}

void TestSitesTab::thirdPageOfTheWindow()
{
    MainWindow window(new QWidget);
    TabFixture fx(sixSites);
    window.setSitesTab(&fx.tab);
    QTabBar *tabs = window.tabControl()->tabBar();
    QCOMPARE(tabs->tabText(2), u"Sites"_s);
    window.show();
    QCOMPARE(fx.tab.model()->rowCount(), 0); // not read before it is shown
    tabs->setCurrentIndex(2);
    QCOMPARE(fx.tab.model()->rowCount(), 6);
    QVERIFY(!window.fieldButtonFrame()->isEnabled());
    // Below the tab strip, growing with the window.
    QVERIFY(fx.tab.geometry().top() >= TabControl::StripHeight);
    const QSize before = fx.tab.size();
    window.resize(window.size() + QSize(200, 100));
    QTRY_COMPARE(fx.tab.size(), before + QSize(200, 100));
    tabs->setCurrentIndex(0);
    QVERIFY(window.fieldButtonFrame()->isEnabled());
}

QTEST_MAIN(TestSitesTab)
#include "tst_sitestab.moc"
