// The Main Window's site list on a campaign store: order, marks, menu, keypad +,
// forms sent, and a store that cannot be used.
#include "WindowFixture.h"
#include "gui/filling/KeyStateFilter.h"
#include "gui/sites/CampaignPanel.h"
#include "gui/sites/SiteListPanel.h"
#include "gui/sites/SiteMenu.h"
#include "gui/sites/StateMarks.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

const QDateTime sentAt(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);

// Four sites, given out of the list's order.
const QStringList fourSites{u"http://delta.example/add"_s, u"http://al-pha.example/"_s,
                            u"http://Charlie.example/submit"_s, u"http://bravo.example/"_s};

WindowFixture::OpenStore withSites(const QStringList &addresses)
{
    return [addresses](CampaignStore &store, const QString &path) {
        return store.open(path, addresses);
    };
}

QStringList listed(WindowFixture &fx)
{
    QStringList texts;
    auto *list = fx.control<QListWidget>(u"lstSites"_s);
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

qint64 idOf(CampaignStore &store, const QString &address)
{
    return store.siteIdFor(address).value_or(0);
}

void makeProgramCurrent(WindowFixture &fx, const QString &name, const QString &version)
{
    fx.window().setFieldText(Field::ProgName, 0, name);
    fx.window().setFieldText(Field::ProgVer, 0, version);
    fx.session->campaign().reloadStates();
}

void pressKeypadPlus(QWidget *target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, u"+"_s);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Plus, Qt::KeypadModifier, u"+"_s);
    QApplication::sendEvent(target, &press);
    QCoreApplication::processEvents(); // the tick right after the press
    QApplication::sendEvent(target, &release);
}

QListWidgetItem *itemFor(WindowFixture &fx, const QString &address)
{
    auto *list = fx.control<QListWidget>(u"lstSites"_s);
    const QList<QListWidgetItem *> found = list->findItems(address, Qt::MatchExactly);
    return found.value(0);
}

} // namespace

class TestSiteList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sitesInUseInOrder();
    void marks_data();
    void marks();
    void menu_data();
    void menu();
    void keypadPlus_data();
    void keypadPlus();
    void formSubmitted_data();
    void formSubmitted();
    void undoAfterSubmission();
    void storeProblem_data();
    void storeProblem();
    void storeOpensAfterFirstPage_data();
    void storeOpensAfterFirstPage();
};

void TestSiteList::sitesInUseInOrder()
{
    const auto open = [](CampaignStore &store, const QString &path) {
        const CampaignStore::OpenOutcome outcome = store.open(path, fourSites);
        store.retireSite(idOf(store, u"http://bravo.example/"_s));
        store.addSite({u"http://a-zure.example/"_s, {}, {}});
        return outcome;
    };
    WindowFixture fx(nullptr, nullptr, open);
    QVERIFY(fx.opened.ok);
    // Hyphens do not count and case does not matter; the retired site is gone.
    QCOMPARE(listed(fx),
             QStringList({u"http://al-pha.example/"_s, u"http://a-zure.example/"_s,
                          u"http://Charlie.example/submit"_s, u"http://delta.example/add"_s}));
}

void TestSiteList::marks_data()
{
    // A step set on al-pha for the program "Prog" (version "1.2" sent unless
    // said), the version current afterwards, and what the list says.
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("step"); // a state name, "dead", or empty
    QTest::addColumn<QString>("sentVersion");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("currentVersion");
    QTest::addColumn<int>("mark"); // a SiteState, -1 for no icon
    QTest::addColumn<QString>("description");
    const auto row = [](const char *name, const QString &program, const QString &step,
                        const QString &sent, const QString &detail, const QString &current,
                        int mark, const QString &description) {
        QTest::newRow(name) << program << step << sent << detail << current << mark << description;
    };
    const auto s = [](SiteState state) { return int(state); };
    row("no history: to do", u"Prog"_s, {}, {}, {}, u"1.2"_s, s(SiteState::Todo), u"To do"_s);
    row("submitted", u"Prog"_s, u"submitted"_s, u"1.2"_s, {}, u"1.2"_s, s(SiteState::Submitted),
        u"Submitted 1.2 on 2026-12-07"_s);
    row("listed, its address", u"Prog"_s, u"listed"_s, u"1.2"_s, u"https://al-pha.example/p/9"_s,
        u"1.2"_s, s(SiteState::Listed), u"Listed 1.2 on 2026-12-07: https://al-pha.example/p/9"_s);
    row("rejected, the reason", u"Prog"_s, u"rejected"_s, {}, u"too small"_s, u"1.2"_s,
        s(SiteState::Rejected), u"Rejected on 2026-12-07: too small"_s);
    row("older version sent: update due", u"Prog"_s, u"submitted"_s, u"1.0"_s, {}, u"1.2"_s,
        s(SiteState::UpdateDue), u"Update due, 1.0 sent on 2026-12-07"_s);
    row("no program: no mark", {}, {}, {}, {}, {}, -1, {});
    row("no program, dead site", {}, u"dead"_s, {}, {}, {}, s(SiteState::Dead), u"Dead"_s);
}

void TestSiteList::marks()
{
    QFETCH(QString, program);
    QFETCH(QString, step);
    QFETCH(QString, sentVersion);
    QFETCH(QString, detail);
    QFETCH(QString, currentVersion);
    QFETCH(int, mark);
    QFETCH(QString, description);
    WindowFixture fx(nullptr, nullptr, withSites(fourSites));
    CampaignStore &store = fx.store;
    const qint64 site = idOf(store, u"http://al-pha.example/"_s);
    const qint64 prog = store.programId({{}, u"Prog"_s});
    if (step == u"dead")
        QVERIFY(store.setSiteDead(site, true));
    else if (!step.isEmpty())
        QVERIFY(store.setState(prog, site, *stateFromName(step), sentVersion, detail, sentAt));
    fx.session->campaign().refresh();
    makeProgramCurrent(fx, program, currentVersion);

    const QListWidgetItem *item = itemFor(fx, u"http://al-pha.example/"_s);
    QVERIFY(item);
    const qint64 expectedIcon =
        mark < 0 ? QIcon().cacheKey() : StateMarks::icon(SiteState(mark)).cacheKey();
    QCOMPARE(item->icon().cacheKey(), expectedIcon);
    QCOMPARE(item->data(Qt::AccessibleDescriptionRole).toString(), description);
}

void TestSiteList::menu_data()
{
    // The menu on charlie, the program "Prog" 2.0 current unless "no program".
    // texts: the one-line question's answers ("-" cancels); site: the site
    // dialog's answer "address|name|note" ("-" cancels). Then charlie's state
    // (its name, with ":detail"), the list, and the messages shown.
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("program");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("messages");
    const QStringList four{u"http://al-pha.example/"_s, u"http://bravo.example/"_s,
                           u"http://Charlie.example/submit"_s, u"http://delta.example/add"_s};
    const auto row = [&](const char *name, const char *action, bool program, const QString &text,
                         const QString &site, const QString &state, const QStringList &list,
                         int messages = 0) {
        QTest::newRow(name) << QString::fromLatin1(action) << program << text << site << state
                            << list << messages;
    };
    row("submitted", "mnuSiteSubmitted", true, {}, {}, u"submitted"_s, four);
    row("listed with its address", "mnuSiteListed", true, u"https://c.example/l/1"_s, {},
        u"listed:https://c.example/l/1"_s, four);
    row("listed without one", "mnuSiteListed", true, u""_s, {}, u"listed"_s, four);
    row("listed, cancelled", "mnuSiteListed", true, u"-"_s, {}, u"todo"_s, four);
    row("rejected with a reason", "mnuSiteRejected", true, u" too small "_s, {},
        u"rejected:too small"_s, four);
    row("no program: no state", "mnuSiteSubmitted", false, {}, {}, u"todo"_s, four);
    row("dead without a program", "mnuSiteDead", false, {}, {}, u"dead"_s, four);
    row("add, placed in order", "mnuSiteAdd", true, {}, u"http://bz.example/|Bz|"_s, u"todo"_s,
        QStringList{four[0], four[1], u"http://bz.example/"_s, four[2], four[3]});
    row("add, cancelled", "mnuSiteAdd", true, {}, u"-"_s, u"todo"_s, four);
    row("add an address already there", "mnuSiteAdd", true, {}, u"http://BRAVO.example|x|"_s,
        u"todo"_s, four, 1);
    row("edit", "mnuSiteEdit", true, {}, u"http://echo.example/|Echo|n"_s, {},
        QStringList{four[0], four[1], four[3], u"http://echo.example/"_s});
    row("retire", "mnuSiteRetire", true, {}, {}, {}, QStringList(four).mid(0, 2) << four.last());
}

void TestSiteList::menu()
{
    QFETCH(QString, action);
    QFETCH(bool, program);
    QFETCH(QString, text);
    QFETCH(QString, site);
    QFETCH(QString, state);
    QFETCH(QStringList, list);
    QFETCH(int, messages);
    WindowFixture fx(nullptr, nullptr, withSites(fourSites));
    if (program)
        makeProgramCurrent(fx, u"Prog"_s, u"2.0"_s);
    if (!text.isNull())
        fx.dialogs.texts.enqueue(text == u"-" ? std::nullopt : std::optional<QString>(text));
    if (!site.isNull()) {
        const QStringList parts = site.split(u'|');
        fx.dialogs.siteEdits.enqueue(
            site == u"-" ? std::nullopt : std::optional<SiteEntry>({parts[0], parts[1], parts[2]}));
    }
    const QString charlie = u"http://Charlie.example/submit"_s;
    const qint64 charlieId = idOf(fx.store, charlie);
    fx.control<QListWidget>(u"lstSites"_s)->setCurrentItem(itemFor(fx, charlie));

    QMenu *menu = fx.control<QMenu>(u"mnuSites"_s);
    fx.session->siteMenu().prepare();
    auto *entry = menu->findChild<QAction *>(action);
    QVERIFY(entry);
    // A state needs a program; the site's own dead or alive does not.
    QCOMPARE(entry->isEnabled(), program || action == u"mnuSiteDead");
    if (entry->isEnabled())
        entry->trigger();

    QCOMPARE(listed(fx), list);
    QCOMPARE(fx.dialogs.messages.size(), messages);
    if (action == u"mnuSiteEdit") {
        QCOMPARE(fx.dialogs.siteEditsShown.value(0), SiteEntry({charlie, {}, {}}));
        QCOMPARE(fx.store.site(charlieId)->name, u"Echo"_s);
    }
    if (state.isEmpty())
        return;
    const StateRecord now = fx.session->campaign().stateOf(charlieId);
    QCOMPARE(stateName(now.state) + (now.detail.isEmpty() ? QString() : u':' + now.detail), state);
    if (now.state == SiteState::Submitted)
        QCOMPARE(now.version, u"2.0"_s);
    // The list's mark follows at once.
    if (program)
        QCOMPARE(itemFor(fx, charlie)->icon().cacheKey(), StateMarks::icon(now.state).cacheKey());
}

void TestSiteList::keypadPlus_data()
{
    // Which site to open next is the campaign's rules; here, that keypad +
    // follows them. States in list order al-pha bravo charlie delta for "Prog"
    // 2.0 (t to do, s submitted, o update due, r rejected, d dead).
    QTest::addColumn<QString>("states");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("opened");
    QTest::newRow("wanted ones in turn, round the list") << u"rotd"_s << 3 << u"bcb"_s;
    QTest::newRow("nothing wanted") << u"ssrd"_s << 2 << u""_s;
}

void TestSiteList::keypadPlus()
{
    QFETCH(QString, states);
    QFETCH(int, presses);
    QFETCH(QString, opened);
    KeyStateFilter keys;
    WindowFixture fx(nullptr, &keys, withSites(fourSites));
    const QStringList order = listed(fx);
    const qint64 prog = fx.store.programId({{}, u"Prog"_s});
    for (int i = 0; i < order.size(); ++i) {
        const qint64 site = idOf(fx.store, order[i]);
        const QChar s = states[i];
        if (s == u'd')
            fx.store.setSiteDead(site, true);
        else if (s != u't')
            fx.store.setState(prog, site, s == u'r' ? SiteState::Rejected : SiteState::Submitted,
                              s == u'o' ? u"1.0"_s : u"2.0"_s);
    }
    fx.session->campaign().refresh();
    makeProgramCurrent(fx, u"Prog"_s, u"2.0"_s);
    QVERIFY(fx.showActive()); // keys count in an active window only
    Q_EMIT fx.fakeBrowser.gotFocus();
    // Stands for the page: the press must never reach it.
    auto *page = fx.control<QLineEdit>(u"txtPADURL_1"_s);

    for (int i = 0; i < presses; ++i) {
        pressKeypadPlus(page);
        QTRY_COMPARE(fx.fakeBrowser.navigations.size(), std::min<int>(i + 1, opened.size()));
    }
    if (opened.isEmpty())
        QTRY_VERIFY(fx.control<QLabel>(u"lblStatus"_s)->text().contains(u"No site"_s));
    QString letters;
    for (const QString &address : std::as_const(fx.fakeBrowser.navigations))
        letters += address.at(7).toLower();
    QCOMPARE(letters, opened);
    QCOMPARE(page->text(), QString());
}

void TestSiteList::formSubmitted_data()
{
    // Sites www.dir.example, dir.example/other (the same host) and
    // other.example; a form is sent from page, after the user opened
    // `opened` from the list (none when empty).
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("program");
    QTest::addColumn<QString>("submitted"); // the site, empty for none
    const QString www = u"http://www.dir.example/submit"_s;
    const QString other = u"https://dir.example/other"_s;
    QTest::newRow("first of the host in list order")
        << u"https://dir.example/form?x=1"_s << QString() << true << www;
    QTest::newRow("the one opened last wins")
        << u"http://www.dir.example/"_s << other << true << other;
    QTest::newRow("opened last on another host")
        << u"https://DIR.example/form"_s << u"http://other.example/"_s << true << www;
    QTest::newRow("a host that is no site")
        << u"http://elsewhere.example/"_s << www << true << QString();
    QTest::newRow("a local page") << u"file:///tmp/form.html"_s << QString() << true << QString();
    QTest::newRow("no program") << u"http://www.dir.example/submit"_s << www << false << QString();
}

void TestSiteList::formSubmitted()
{
    QFETCH(QString, page);
    QFETCH(QString, opened);
    QFETCH(bool, program);
    QFETCH(QString, submitted);
    const QStringList sites{u"http://other.example/"_s, u"https://dir.example/other"_s,
                            u"http://www.dir.example/submit"_s};
    WindowFixture fx(nullptr, nullptr, withSites(sites));
    if (program)
        makeProgramCurrent(fx, u"Prog"_s, u"3.1"_s);
    if (!opened.isEmpty()) {
        auto *list = fx.control<QListWidget>(u"lstSites"_s);
        list->setCurrentItem(itemFor(fx, opened));
        Q_EMIT list->itemDoubleClicked(list->currentItem());
    }
    Q_EMIT fx.fakeBrowser.formSubmitted(QUrl(page));

    CampaignPanel &campaign = fx.session->campaign();
    for (const QString &site : sites) {
        const StateRecord state = campaign.stateOf(idOf(fx.store, site));
        QCOMPARE(state.state, site == submitted ? SiteState::Submitted : SiteState::Todo);
        if (site == submitted)
            QCOMPARE(state.version, u"3.1"_s);
    }
    QCOMPARE(fx.window().undoButton()->isVisibleTo(&fx.window()), !submitted.isEmpty());
}

void TestSiteList::undoAfterSubmission()
{
    WindowFixture fx(nullptr, nullptr, withSites(fourSites));
    makeProgramCurrent(fx, u"Prog"_s, u"2.0"_s);
    const qint64 delta = idOf(fx.store, u"http://delta.example/add"_s);
    auto *status = fx.control<QLabel>(u"lblStatus"_s);
    QToolButton *undo = fx.control<QToolButton>(u"cmdUndo"_s);
    CampaignPanel &campaign = fx.session->campaign();
    const QString note = u" Submitted Prog 2.0 to http://delta.example/add"_s;

    Q_EMIT fx.fakeBrowser.formSubmitted(QUrl(u"http://delta.example/add"_s));
    QCOMPARE(status->text(), note);
    // The answer page's load does not wipe the note...
    Q_EMIT fx.fakeBrowser.downloadComplete();
    QCOMPARE(status->text(), note);
    QVERIFY(undo->isVisibleTo(&fx.window()));
    undo->click();
    QCOMPARE(campaign.stateOf(delta).state, SiteState::Todo);
    QVERIFY(!undo->isVisibleTo(&fx.window()));
    QVERIFY(status->text().startsWith(u" Undone"_s));

    // ...the next load, the user moving on, takes the Undo away.
    Q_EMIT fx.fakeBrowser.formSubmitted(QUrl(u"http://delta.example/add"_s));
    Q_EMIT fx.fakeBrowser.downloadComplete();
    Q_EMIT fx.fakeBrowser.downloadComplete();
    QVERIFY(!undo->isVisibleTo(&fx.window()));
    QCOMPARE(campaign.stateOf(delta).state, SiteState::Submitted);
}

void TestSiteList::storeProblem_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("why");
    QTest::newRow("damaged") << u"damaged"_s << u"damaged"_s;
    QTest::newRow("in use by another copy") << u"locked"_s << u"Tarvelo"_s;
}

void TestSiteList::storeProblem()
{
    QFETCH(QString, fault);
    QFETCH(QString, why);
    CampaignStore other; // the other running copy
    const QByteArray garbage(8192, 'x');
    const auto open = [&](CampaignStore &store, const QString &path) {
        if (fault == u"damaged") {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(garbage);
        } else {
            other.open(path, {});
        }
        return store.open(path, fourSites);
    };
    WindowFixture fx(nullptr, nullptr, open);
    QVERIFY(!fx.opened.ok);

    QCOMPARE(fx.dialogs.messages.size(), 1);
    const QString told = fx.dialogs.messages[0].text;
    QVERIFY2(told.contains(fx.storePath) && told.contains(why, Qt::CaseInsensitive),
             qPrintable(told));
    QCOMPARE(listed(fx), SiteDirectory::load());
    // Nothing to change, and nothing breaks when asked.
    fx.session->siteMenu().prepare();
    QVERIFY(!fx.control<QMenu>(u"mnuSites"_s)->findChild<QAction *>(u"mnuSiteAdd"_s)->isEnabled());
    Q_EMIT fx.fakeBrowser.formSubmitted(QUrl(fx.store.path()));
}

void TestSiteList::storeOpensAfterFirstPage_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("whole store") << false;
    QTest::newRow("damaged store") << true;
}

void TestSiteList::storeOpensAfterFirstPage()
{
    QFETCH(bool, damaged);
    const auto open = [damaged](CampaignStore &store, const QString &path) {
        QFile file(path);
        if (damaged && file.open(QIODevice::WriteOnly)) {
            file.write(QByteArray(8192, 'x'));
            file.close();
        }
        return store.open(path, fourSites);
    };
    KeyStateFilter keys;
    WindowFixture fx(nullptr, &keys, open, WindowFixture::Store::Opening);
    fx.session->startUp();
    makeProgramCurrent(fx, u"Prog"_s, u"2.0"_s);
    QVERIFY(fx.showActive());
    auto *list = fx.control<QListWidget>(u"lstSites"_s);
    auto *status = fx.control<QLabel>(u"lblStatus"_s);
    QCOMPARE(list->count(), 0);

    // Before the store is open: keypad + and a form sent only say so.
    const QStringList helpPageOnly = fx.fakeBrowser.navigations;
    Q_EMIT fx.fakeBrowser.gotFocus();
    pressKeypadPlus(fx.control<QLineEdit>(u"txtPADURL_1"_s)); // stands for the page
    QTRY_VERIFY(status->text().contains(u"still opening"_s));
    Q_EMIT fx.fakeBrowser.formSubmitted(QUrl(u"http://delta.example/add"_s));
    QCOMPARE(fx.fakeBrowser.navigations, helpPageOnly);
    QCOMPARE(fx.openings, 0);

    // The page's load reaches the page's own listeners first.
    fx.firstPageLoaded();
    QCOMPARE(fx.openings, 0);
    QVERIFY(fx.storeOpened());
    QCOMPARE(fx.openings, 1);
    QVERIFY(fx.windowShownAtOpening);
    QCOMPARE(fx.dialogs.messages.size(), damaged ? 1 : 0);
    QCOMPARE(list->count(), damaged ? SiteDirectory::load().size() : 4);
    if (!damaged) {
        // The form sent early is recorded now.
        const qint64 delta = idOf(fx.store, u"http://delta.example/add"_s);
        QCOMPARE(fx.session->campaign().stateOf(delta).state, SiteState::Submitted);
    }

    // Later loads open nothing again and tell nothing again.
    fx.firstPageLoaded();
    QCoreApplication::processEvents();
    QCOMPARE(fx.openings, 1);
    QCOMPARE(fx.dialogs.messages.size(), damaged ? 1 : 0);
}

QTEST_MAIN(TestSiteList)
#include "tst_sitelist.moc"
