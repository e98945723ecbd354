// What a screen reader and a keyboard user get from the window: the accessible
// tree as Qt builds it, the names and descriptions in it, the caption labels'
// relations, the Tab order of both pages and the link-like labels' keys.
#include "WindowFixture.h"

#include "ui/ClickableLabel.h"
#include "ui/TabControl.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace tarvelo;
using namespace Qt::StringLiterals;

class TestAccessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyControlIsNamed();
    void popupMenuEntriesAreNamed();
    void names_data();
    void names();
    void toolTipsAreDescriptions();
    void descriptionsFollowTheCurrentProfile();
    void captionsLabelTheirBoxes_data();
    void captionsLabelTheirBoxes();
    void tabOrder_data();
    void tabOrder();
    void backTabReversesThePadFilesPage();
    void labelKeys_data();
    void labelKeys();
    void localPadLabelOpensTheDialogFromTheKeyboard();
    void clickDoesNotMoveTheFocusToALabel();
};

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString describe(QAccessibleInterface *iface)
{
    QObject *o = iface->object();
    return u"%1 %2 (%3)"_s.arg(o ? QString::fromLatin1(o->metaObject()->className()) : u"item"_s,
                               o ? o->objectName() : QString(),
                               QString::number(int(iface->role()), 16));
}

// Parts a reader passes over: Qt's inner pieces of a scrolling box (the box
// itself carries the name), a frame that only draws, and a label while it
// shows nothing.
bool mayBeNameless(QAccessibleInterface *iface)
{
    QObject *o = iface->object();
    if (qobject_cast<QScrollBar *>(o))
        return true;
    if (o && o->objectName().startsWith(u"qt_scrollarea_"_s))
        return true;
    if (iface->role() == QAccessible::Border && iface->childCount() == 0)
        return true;
    if (auto *label = qobject_cast<QLabel *>(o))
        return label->text().isEmpty() && !label->accessibleDescription().isEmpty();
    return false;
}

void collectNameless(QAccessibleInterface *iface, QStringList &nameless, QStringList &visited)
{
    visited << (iface->object() ? iface->object()->objectName() : u"item"_s);
    if (iface->text(QAccessible::Name).trimmed().isEmpty() && !mayBeNameless(iface))
        nameless << describe(iface);
    for (int k = 0; k < iface->childCount(); ++k) {
        if (QAccessibleInterface *child = iface->child(k))
            collectNameless(child, nameless, visited);
    }
}

QWidget *shownWindow(WindowFixture &fx)
{
    FrmMain &w = fx.window();
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("window did not become active");
    return &w;
}

// Tab from the focused widget until the focus comes back, recording each stop.
QStringList tabCycle(QWidget *start, Qt::Key key = Qt::Key_Tab)
{
    QStringList stops;
    start->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 200; ++step) {
        QWidget *focused = QApplication::focusWidget();
        if (!focused)
            break;
        QTest::keyClick(focused, key);
        focused = QApplication::focusWidget();
        if (!focused || focused == start)
            break;
        stops << focused->objectName();
    }
    return stops;
}

QStringList keepOnly(const QStringList &stops, const QStringList &names)
{
    QStringList kept;
    for (const QString &s : stops) {
        if (names.contains(s))
            kept << s;
    }
    return kept;
}

QStringList padFilesOrder()
{
    return {u"lblLocalPad_0"_s, u"txtLocalPAD_0"_s, u"lblLocalPad_1"_s, u"txtLocalPAD_1"_s,
            u"lblLocalPad_2"_s, u"txtLocalPAD_2"_s, u"lblPADURL_0"_s,   u"txtPADURL_0"_s,
            u"lblPADURL_1"_s,   u"txtPADURL_1"_s,   u"lblPADURL_2"_s,   u"txtPADURL_2"_s};
}

} // namespace

void TestAccessibility::everyControlIsNamed()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    QStringList nameless;
    QStringList visited;
    collectNameless(accessible(&w), nameless, visited);
    // The walk reached both pages, the list's entries and all three detail panels.
    for (const QString &deep : {u"cmdPADURL"_s, u"WebBr"_s, u"lblLocalPad_2"_s, u"txtKeywords_0"_s,
                                u"txtKeywords_1"_s, u"txtKeywords_2"_s, u"tabBar"_s})
        QVERIFY2(visited.contains(deep), qPrintable(deep));
    QVERIFY(w.lstSites->count() > 0);
    QCOMPARE(visited.count(u"item"_s) - 2 /* the two tabs */, w.lstSites->count());
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u"\n"_s)));
}

void TestAccessibility::popupMenuEntriesAreNamed()
{
    WindowFixture fx;
    QAccessibleInterface *menu = accessible(fx.window().mnuNew);
    QVERIFY(menu);
    int items = 0;
    QStringList nameless;
    for (int k = 0; k < menu->childCount(); ++k) {
        QAccessibleInterface *entry = menu->child(k);
        if (entry->role() == QAccessible::Separator)
            continue;
        ++items;
        if (entry->text(QAccessible::Name).trimmed().isEmpty())
            nameless << QString::number(k);
    }
    QCOMPARE(items, 17);
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u", "_s)));
}

void TestAccessibility::names_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const int button = QAccessible::Button;
    const int edit = QAccessible::EditableText;
    // clang-format off
    // Controls with no text of their own.
    QTest::newRow("picture button cmdPAD") << "cmdPAD" << "PAD sites" << button;
    QTest::newRow("picture button cmdHome") << "cmdHome" << "Home" << button;
    QTest::newRow("site list") << "lstSites" << "Submission sites" << int(QAccessible::List);
    QTest::newRow("browser view") << "WebBr" << "Web page" << int(QAccessible::Client);
    QTest::newRow("field button frame") << "Frame1" << "Field buttons" << int(QAccessible::Border);
    QTest::newRow("browser frame") << "fraBrowser" << "Browser" << int(QAccessible::Border);
    QTest::newRow("detail panel 2") << "fraDesc_1" << "Profile 2 details" << int(QAccessible::Border);
    QTest::newRow("local PAD box 1") << "txtLocalPAD_0" << "Local PAD 1" << edit;
    QTest::newRow("PAD URL box 3") << "txtPADURL_2" << "PAD URL 3" << edit;
    QTest::newRow("author, first") << "txtAuthor_0" << "Author, profile 1" << edit;
    QTest::newRow("multi-line box") << "txtLongDesc_2" << "Long description, profile 3" << edit;
    // The caption "Program URL: 1)" and the lone "2)" name one address each.
    QTest::newRow("first download") << "txtProgURL_1" << "Program URL 1, profile 2" << edit;
    QTest::newRow("second download") << "txtSecURL_1" << "Program URL 2, profile 2" << edit;
    // Qt's own names stay: the caption without its access key.
    QTest::newRow("nav button") << "cmdBack" << "Back" << button;
    QTest::newRow("field button") << "cmdProgName" << "Program Name (1)" << button;
    QTest::newRow("link-like label") << "lblLocalPad_2" << "Local PAD 3:" << int(QAccessible::StaticText);
    // clang-format on
}

void TestAccessibility::names()
{
    QFETCH(QString, object);
    QFETCH(QString, name);
    QFETCH(int, role);
    WindowFixture fx;
    auto *widget = fx.window().findChild<QWidget *>(object);
    QVERIFY(widget);
    QAccessibleInterface *iface = accessible(widget);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(int(iface->role()), role);
}

void TestAccessibility::toolTipsAreDescriptions()
{
    WindowFixture fx;
    int withTip = 0;
    const auto widgets = fx.window().findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (w->toolTip().isEmpty())
            continue;
        ++withTip;
        QAccessibleInterface *iface = accessible(w);
        QVERIFY2(iface, qPrintable(w->objectName()));
        QCOMPARE(iface->text(QAccessible::Description), w->toolTip());
    }
    // lstSites, cmdPAD, cmdHome, cmdProgName, 3 + 3 PAD URL boxes and labels,
    // 3 local PAD labels, per panel txtSecURL, txtKeywords and its caption.
    QCOMPARE(withTip, 4 + 6 + 3 + 3 * 3);
}

void TestAccessibility::descriptionsFollowTheCurrentProfile()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    QTest::keyClick(w.lblPADURL[2], Qt::Key_Space);
    QCOMPARE(w.currentProfile(), 2);
    const QStringList expected{u"Ctrl + Numpad 0"_s, u"Alt + Numpad 0"_s, u"Numpad 0"_s};
    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(accessible(w.lblPADURL[i])->text(QAccessible::Description), expected[i]);
}

void TestAccessibility::captionsLabelTheirBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");
    // clang-format off
    QTest::newRow("local PAD") << "txtLocalPAD_1" << "Local PAD 2:";
    QTest::newRow("PAD URL") << "txtPADURL_0" << "PAD URL 1:";
    QTest::newRow("author, panel 3") << "txtAuthor_2" << "Author                 :";
    QTest::newRow("second download") << "txtSecURL_0" << "2)";
    QTest::newRow("keywords") << "txtKeywords_1" << "Keywords              :";
    QTest::newRow("long description") << "txtLongDesc_0" << "Long Description  :";
    // clang-format on
}

void TestAccessibility::captionsLabelTheirBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, caption);
    WindowFixture fx;
    auto *target = fx.window().findChild<QWidget *>(box);
    QVERIFY(target);
    const auto relations = accessible(target)->relations(QAccessible::Label);
    QStringList labels;
    for (const auto &relation : relations) {
        if (auto *label = qobject_cast<QLabel *>(relation.first->object())) {
            labels << label->text();
            // The caption sits in the same panel as its box, not in another profile's.
            QCOMPARE(label->parentWidget(), target->parentWidget());
        }
    }
    QVERIFY2(labels.contains(caption), qPrintable(labels.join(u" | "_s)));
}

void TestAccessibility::tabOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("order");
    const QStringList mainWindow{
        u"cmdBack"_s,      u"cmdForward"_s,  u"cmdStop"_s,     u"cmdRefresh"_s, u"cmdPAD"_s,
        u"cmdHome"_s,      u"cmdProgName"_s, u"cmdProgVer"_s,  u"cmdAuthor"_s,  u"cmdEmail"_s,
        u"cmdFileSize"_s,  u"cmdSysReq"_s,   u"cmdHomePage"_s, u"cmdProgURL"_s, u"cmdSShotURL"_s,
        u"cmdShortDesc"_s, u"cmdLongDesc"_s, u"cmdPADURL"_s};
    // From the first local PAD box round to the label before it.
    const QStringList padFiles = padFilesOrder().mid(2) + padFilesOrder().mid(0, 1);
    QTest::newRow("Main Window") << 0 << u"lstSites"_s << mainWindow;
    QTest::newRow("PAD Files") << 1 << u"txtLocalPAD_0"_s << padFiles;
}

void TestAccessibility::tabOrder()
{
    QFETCH(int, page);
    QFETCH(QString, start);
    QFETCH(QStringList, order);
    WindowFixture fx;
    shownWindow(fx);
    FrmMain &w = fx.window();
    w.tabControl->setCurrentIndex(page);
    auto *first = w.findChild<QWidget *>(start);
    QVERIFY(first);

    const QStringList stops = tabCycle(first);
    QVERIFY2(!stops.isEmpty(), "Tab moved the focus nowhere");
    QCOMPARE(keepOnly(stops, order), order);
    // Only the shown page is reachable, and never a disabled detail panel.
    for (const QString &stop : stops) {
        auto *widget = w.findChild<QWidget *>(stop);
        QVERIFY2(widget && widget->isVisible() && widget->isEnabled(), qPrintable(stop));
        for (QFrame *panel : w.fraDesc)
            QVERIFY2(!panel->isAncestorOf(widget), qPrintable(stop));
    }
}

void TestAccessibility::backTabReversesThePadFilesPage()
{
    WindowFixture fx;
    shownWindow(fx);
    FrmMain &w = fx.window();
    w.tabControl->setCurrentIndex(1);
    QStringList expected = padFilesOrder().mid(0, 11);
    std::reverse(expected.begin(), expected.end());

    const QStringList stops = tabCycle(w.txtPADURL[2], Qt::Key_Backtab);
    QCOMPARE(keepOnly(stops, padFilesOrder()), expected);
}

void TestAccessibility::labelKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("acts");
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false;
    QTest::newRow("Alt+Return") << int(Qt::Key_Return) << int(Qt::AltModifier) << false;
    QTest::newRow("Shift+Space") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << false;
    QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << int(Qt::KeypadModifier) << false;
}

void TestAccessibility::labelKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, acts);
    WindowFixture fx;
    FrmMain &w = fx.window();
    QSignalSpy clicked(w.lblPADURL[1], &ClickableLabel::clicked);
    QTest::keyClick(w.lblPADURL[1], Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked.size(), acts ? 1 : 0);
    // The key does what the click does: profile 2 becomes the current one.
    QCOMPARE(w.currentProfile(), acts ? 1 : 0);
}

void TestAccessibility::localPadLabelOpensTheDialogFromTheKeyboard()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    fx.dialogs.chosenFiles.enqueue(QString()); // cancelled
    QTest::keyClick(w.lblLocalPad[2], Qt::Key_Return);
    QCOMPARE(fx.dialogs.fileDialogsShown, 1);
    // A repeated key while held is not a second request.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(w.lblLocalPad[2], &repeat);
    QCOMPARE(fx.dialogs.fileDialogsShown, 1);
}

void TestAccessibility::clickDoesNotMoveTheFocusToALabel()
{
    WindowFixture fx;
    shownWindow(fx);
    FrmMain &w = fx.window();
    w.tabControl->setCurrentIndex(1);
    w.txtPADURL[0]->setFocus();
    QTest::mouseClick(w.lblPADURL[2], Qt::LeftButton);
    QCOMPARE(w.currentProfile(), 2);
    QCOMPARE(QApplication::focusWidget(), w.txtPADURL[0]);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
