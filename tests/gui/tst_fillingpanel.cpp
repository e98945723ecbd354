// Form filling on the window, with a browser that records what it is asked.
#include "FakeBrowser.h"
#include "WindowFixture.h"
#include "filling/FieldActions.h"
#include "filling/FillingPanel.h"
#include "filling/NavPictures.h"
#include "ui/ClickableLabel.h"
#include "ui/FrmMain.h"
#include "ui/TabControl.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

constexpr int Num0 = vk::Numpad0;

// Notes what the clipboard held when the page was told to paste.
class RecordingBrowser : public FakeBrowser
{
public:
    void paste() override
    {
        FakeBrowser::paste();
        clipboardAtPaste = QGuiApplication::clipboard()->text();
    }
    QString clipboardAtPaste;
};

// A value that tells field and profile apart: "txtAuthor of 2".
QString valueOf(Field field, int profile)
{
    return fieldSpec(field).name + u" of "_s + QString::number(profile);
}

struct Rig
{
    Rig()
    {
        window.tmrGetKey->stop(); // tests tick by hand unless they say otherwise
        for (int p = 0; p < ProfileCount; ++p) {
            for (const FieldSpec &info : fieldTable())
                window.setFieldText(info.field, p, valueOf(info.field, p));
        }
        for (const FieldButtonSpec &info : fieldButtonTable()) {
            QPushButton *button = window.findChild<QPushButton *>(info.name);
            QObject::connect(button, &QPushButton::clicked, button,
                             [this, button] { clicked << button->objectName(); });
        }
    }
    void showActive()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    RecordingBrowser browser;
    FrmMain window{&browser};
    ScriptedKeyState keys;
    FillingPanel panel{window, browser, keys};
    QStringList clicked;
};

const QStringList pasteCalls{u"selectAll"_s, u"paste"_s, u"setFocus"_s};

// The id of the navigation picture a button shows, 0 if none of them.
int pictureOf(QToolButton *button)
{
    for (int id = NavPictures::FirstId; id <= NavPictures::LastId; ++id) {
        const QImage expected = QImage(NavPictures::resourcePath(id));
        const QImage shown = button->icon().pixmap(expected.size()).toImage();
        if (shown.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
            expected.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            return id;
    }
    return 0;
}

void sendMouseMove(QWidget *widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class TestFillingPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fieldButtons_data();
    void fieldButtons();
    void pasteField_data();
    void pasteField();
    void menuEntries_data();
    void menuEntries();
    void everyMenuItemPastesItsField();
    void keypadTick_data();
    void keypadTick();
    void rightClickOpensTheMenu();
    void rightClickWithoutBrowserFocusOpensNothing();
    void focusRules_data();
    void focusRules();
    void profileLabels_data();
    void profileLabels();
    void padUrlSelectsOnFocus_data();
    void padUrlSelectsOnFocus();
    void hoverPictures_data();
    void hoverPictures();
};

void TestFillingPanel::fieldButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("field");
    const auto row = [](const QString &name, const QString &caption, Field field) {
        QTest::newRow(qPrintable(name)) << name << caption << int(field);
    };
    row(u"cmdProgName"_s, u"Program Name (1)"_s, Field::ProgName);
    row(u"cmdProgVer"_s, u"Program Version  (2)"_s, Field::ProgVer);
    row(u"cmdAuthor"_s, u"Author (3)"_s, Field::Author);
    row(u"cmdEmail"_s, u"Email (4)"_s, Field::Email);
    row(u"cmdFileSize"_s, u"File Size  (5)"_s, Field::FileSize);
    row(u"cmdSysReq"_s, u"Sys Req.  (6)"_s, Field::SysReq);
    row(u"cmdHomePage"_s, u"Home Page  (7)"_s, Field::HomePage);
    row(u"cmdProgURL"_s, u"ZIP or EXE URL (8)"_s, Field::ProgURL);
    row(u"cmdSShotURL"_s, u"Scr.shot URL  (9)"_s, Field::SShotURL);
    row(u"cmdPADURL"_s, u"PAD URL (0)"_s, Field::PADURL);
    row(u"cmdLongDesc"_s, u"Long Desc.  (*)"_s, Field::LongDesc);
    row(u"cmdShortDesc"_s, u"Short Desc.  (/)"_s, Field::ShortDesc);
}

void TestFillingPanel::fieldButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, field);

    Rig rig;
    auto *button = rig.window.findChild<QPushButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), name == u"cmdProgName" ? u"Use Number Pad Keys"_s : QString());

    // Each click reads the current profile anew.
    for (int profile : {2, 0, 1}) {
        rig.panel.lblPADURL_Click(profile);
        rig.browser.calls.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(rig.browser.calls, pasteCalls);
        QCOMPARE(rig.browser.clipboardAtPaste, valueOf(Field(field), profile));
    }
}

void TestFillingPanel::pasteField_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("plain") << int(Field::ProgName) << u"Tarvelo"_s << u"Tarvelo"_s;
    QTest::newRow("empty still pastes") << int(Field::Email) << QString() << QString();
    QTest::newRow("line breaks kept")
        << int(Field::LongDesc) << u"one\r\ntwo\r\n\r\nfour"_s << u"one\r\ntwo\r\n\r\nfour"_s;
    QTest::newRow("edited PAD URL")
        << int(Field::PADURL) << u"http://example.com/pad.xml"_s << u"http://example.com/pad.xml"_s;
}

void TestFillingPanel::pasteField()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, clipboard);

    Rig rig;
    rig.window.setFieldText(Field(field), 0, value);
    QGuiApplication::clipboard()->setText(u"what was there before"_s);
    QStringList clipboardStates;
    QObject listening;
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &listening,
            [&] { clipboardStates << QGuiApplication::clipboard()->text(); });

    rig.panel.PasteField(rig.window.fieldBox(Field(field), 0));

    // Emptied first, then the value, and only then the browser's two commands.
    QCOMPARE(clipboardStates, (QStringList{QString(), clipboard}));
    QCOMPARE(rig.browser.clipboardAtPaste, clipboard);
    QCOMPARE(rig.browser.calls, pasteCalls);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestFillingPanel::menuEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("field");
    QTest::newRow("program url 1") << u"mnuProgURL1"_s << int(Field::ProgURL);
    QTest::newRow("program url 2") << u"mnuProgURL2"_s << int(Field::SecURL);
    QTest::newRow("company") << u"mnuCompany"_s << int(Field::Company);
    QTest::newRow("operating system") << u"mnuOS"_s << int(Field::OS);
    QTest::newRow("icon") << u"mnuProgIcon"_s << int(Field::ProgIcon);
    QTest::newRow("long description") << u"mnuongDesc"_s << int(Field::LongDesc);
    QTest::newRow("keywords") << u"mnuKeywords"_s << int(Field::Keywords);
    QTest::newRow("pad url") << u"mnuPADURL"_s << int(Field::PADURL);
}

void TestFillingPanel::menuEntries()
{
    QFETCH(QString, name);
    QFETCH(int, field);

    Rig rig;
    rig.panel.lblPADURL_Click(1);
    QAction *item = rig.window.mnuNew->findChild<QAction *>(name);
    QVERIFY(item);
    // The PAD URL item follows the current profile whatever Ctrl and Alt do.
    rig.keys.keys[vk::Control] = 0x8000;
    item->trigger();
    QCOMPARE(rig.browser.calls, pasteCalls);
    QCOMPARE(QGuiApplication::clipboard()->text(), valueOf(Field(field), 1));
}

void TestFillingPanel::everyMenuItemPastesItsField()
{
    Rig rig;
    rig.panel.lblPADURL_Click(2);
    const QList<QAction *> items = rig.window.mnuNew->actions();
    QCOMPARE(items.size(), MenuEntryCount);
    int separators = 0;
    for (int i = 0; i < MenuEntryCount; ++i) {
        const MenuEntrySpec &info = popupMenuTable()[i];
        QAction *item = items[i];
        QCOMPARE(item->objectName(), info.name);
        QCOMPARE(item->isSeparator(), info.isSeparator());
        if (item->isSeparator()) {
            ++separators;
            continue;
        }
        QCOMPARE(item->text(), info.caption);
        rig.browser.calls.clear();
        item->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), valueOf(*info.field, 2));
        QCOMPARE(rig.browser.calls, pasteCalls);
    }
    QCOMPARE(separators, 4);
}

void TestFillingPanel::keypadTick_data()
{
    QTest::addColumn<QList<int>>("pressed");
    QTest::addColumn<QList<int>>("held");
    QTest::addColumn<int>("profile");
    QTest::addColumn<QString>("button"); // the field button pressed, if any
    QTest::addColumn<QString>("pasted"); // empty: nothing pasted

    const QList<int> none;
    const QList<int> ctrl{vk::Control};
    const QList<int> alt{vk::Menu};
    QTest::newRow("1: program name")
        << QList<int>{Num0 + 1} << none << 1 << u"cmdProgName"_s << valueOf(Field::ProgName, 1);
    QTest::newRow("0: PAD URL, no button")
        << QList<int>{Num0} << none << 1 << QString() << valueOf(Field::PADURL, 1);
    QTest::newRow("*: long description")
        << QList<int>{vk::Multiply} << none << 0 << u"cmdLongDesc"_s << valueOf(Field::LongDesc, 0);
    QTest::newRow("ctrl+/: short description")
        << QList<int>{vk::Divide} << ctrl << 0 << u"cmdShortDesc"_s << valueOf(Field::ShortDesc, 0);
    QTest::newRow("ctrl+7: keywords")
        << QList<int>{Num0 + 7} << ctrl << 2 << QString() << valueOf(Field::Keywords, 2);
    QTest::newRow("ctrl+8: second url")
        << QList<int>{Num0 + 8} << ctrl << 0 << QString() << valueOf(Field::SecURL, 0);
    QTest::newRow("ctrl+0: next profile")
        << QList<int>{Num0} << ctrl << 2 << QString() << valueOf(Field::PADURL, 0);
    QTest::newRow("alt+0: previous profile")
        << QList<int>{Num0} << alt << 0 << QString() << valueOf(Field::PADURL, 2);
    QTest::newRow("alt+5: file size")
        << QList<int>{Num0 + 5} << alt << 0 << u"cmdFileSize"_s << valueOf(Field::FileSize, 0);
    QTest::newRow("ctrl+1: nothing") << QList<int>{Num0 + 1} << ctrl << 0 << QString() << QString();
    QTest::newRow("held only: nothing")
        << none << QList<int>{Num0 + 1} << 0 << QString() << QString();
}

void TestFillingPanel::keypadTick()
{
    QFETCH(QList<int>, pressed);
    QFETCH(QList<int>, held);
    QFETCH(int, profile);
    QFETCH(QString, button);
    QFETCH(QString, pasted);

    Rig rig;
    rig.panel.lblPADURL_Click(profile);
    rig.window.browserHasFocus = true;
    QGuiApplication::clipboard()->clear();
    for (int key : held)
        rig.keys.keys[key] = 0x8000;
    for (int key : pressed)
        rig.keys.keys[key] = 0x8001;

    rig.panel.tmrGetKey_Timer();

    QCOMPARE(rig.clicked, button.isEmpty() ? QStringList() : QStringList{button});
    QCOMPARE(rig.browser.calls, pasted.isEmpty() ? QStringList() : pasteCalls);
    QCOMPARE(QGuiApplication::clipboard()->text(), pasted);
}

void TestFillingPanel::rightClickOpensTheMenu()
{
    Rig rig;
    rig.showActive();
    Q_EMIT rig.browser.gotFocus(); // arms the timer
    QVERIFY(rig.window.tmrGetKey->isActive());
    rig.panel.lblPADURL_Click(1);
    // The menu runs inside the tick: answer it from within, once it shows.
    // "3" is the company's mnemonic.
    bool menuShown = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, &answer, [&] {
        if (QApplication::activePopupWidget() != rig.window.mnuNew)
            return;
        menuShown = true;
        answer.stop();
        QTest::keyClick(rig.window.mnuNew, Qt::Key_3);
    });
    answer.start(20);
    rig.keys.keys[vk::RightButton] = 0x8001;

    QTRY_COMPARE(QGuiApplication::clipboard()->text(), valueOf(Field::Company, 1));
    QVERIFY(menuShown);
    QVERIFY(!QApplication::activePopupWidget());

    // The tick that opened the menu has ended: the keypad works again.
    rig.keys.keys[Num0 + 4] = 0x8001;
    QTRY_COMPARE(rig.clicked, QStringList{u"cmdEmail"_s});
}

void TestFillingPanel::rightClickWithoutBrowserFocusOpensNothing()
{
    Rig rig;
    rig.showActive();
    rig.window.browserHasFocus = false;
    rig.keys.keys[vk::RightButton] = 0x8001;
    // Should the menu open, close it so the test fails instead of hanging.
    QTimer::singleShot(3000, &rig.window, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
    QSignalSpy shown(rig.window.mnuNew, &QMenu::aboutToShow);
    rig.panel.tmrGetKey_Timer();
    QCOMPARE(shown.size(), 0);
    QCOMPARE(int(rig.keys.keys[vk::RightButton]), 0x8000); // read all the same
}

void TestFillingPanel::focusRules_data()
{
    // B+ / B-: the browser takes / loses the focus; W+ / W-: the window does.
    QTest::addColumn<QString>("events");
    QTest::addColumn<bool>("timerOn");
    QTest::addColumn<bool>("browserHasFocus");
    QTest::newRow("at creation") << u""_s << true << false;
    QTest::newRow("browser takes focus") << u"B+"_s << true << true;
    QTest::newRow("browser loses focus") << u"B+ B-"_s << false << false;
    QTest::newRow("window loses focus") << u"B+ W-"_s << false << true;
    QTest::newRow("window back, browser kept focus") << u"B+ W- W+"_s << true << true;
    QTest::newRow("window back, browser without") << u"B+ B- W+"_s << false << false;
    QTest::newRow("window focus leaves timer alone") << u"W- W+"_s << false << false;
    QTest::newRow("window focus keeps timer on") << u"W+"_s << true << false;
    QTest::newRow("browser back after window") << u"W- B+"_s << true << true;
}

void TestFillingPanel::focusRules()
{
    QFETCH(QString, events);
    QFETCH(bool, timerOn);
    QFETCH(bool, browserHasFocus);

    Rig rig;
    rig.window.tmrGetKey->start(); // as created
    for (const QString &event : events.split(u' ', Qt::SkipEmptyParts)) {
        if (event == u"B+")
            Q_EMIT rig.browser.gotFocus();
        else if (event == u"B-")
            Q_EMIT rig.browser.lostFocus();
        else if (event == u"W+")
            Q_EMIT rig.window.windowGotFocus();
        else
            Q_EMIT rig.window.windowLostFocus();
    }
    QCOMPARE(rig.window.tmrGetKey->isActive(), timerOn);
    QCOMPARE(rig.window.browserHasFocus, browserHasFocus);
    QCOMPARE(rig.window.tmrGetKey->interval(), 10);
}

void TestFillingPanel::profileLabels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("toolTips");
    QTest::addColumn<QList<int>>("padUrlProfiles"); // of keypad 0, Ctrl+0, Alt+0
    QTest::newRow("PAD URL 1:") << 0
                                << QStringList{u"Numpad 0"_s, u"Ctrl + Numpad 0"_s,
                                               u"Alt + Numpad 0"_s}
                                << QList<int>{0, 1, 2};
    QTest::newRow("PAD URL 2:") << 1
                                << QStringList{u"Alt + Numpad 0"_s, u"Numpad 0"_s,
                                               u"Ctrl + Numpad 0"_s}
                                << QList<int>{1, 2, 0};
    QTest::newRow("PAD URL 3:") << 2
                                << QStringList{u"Ctrl + Numpad 0"_s, u"Alt + Numpad 0"_s,
                                               u"Numpad 0"_s}
                                << QList<int>{2, 0, 1};
}

void TestFillingPanel::profileLabels()
{
    QFETCH(int, index);
    QFETCH(QStringList, toolTips);
    QFETCH(QList<int>, padUrlProfiles);

    Rig rig;
    rig.showActive();
    rig.window.tabControl->setCurrentIndex(1);
    // Start from another profile so every change shows.
    QTest::mouseClick(rig.window.lblPADURL[(index + 1) % 3], Qt::LeftButton);
    QTest::mouseClick(rig.window.lblPADURL[index], Qt::LeftButton);

    QCOMPARE(rig.window.currentProfileTag(), QString::number(index));
    for (int i = 0; i < ProfileCount; ++i) {
        ClickableLabel *label = rig.window.lblPADURL[i];
        QCOMPARE(label->palette().color(QPalette::WindowText),
                 i == index ? QColor(255, 0, 0) : QColor(0, 0, 0));
        QCOMPARE(label->toolTip(), toolTips[i]);
    }
    // Its panel is in front: the last of the three among its siblings.
    const QObjectList stacking = rig.window.fraDetalis->children();
    for (int i = 0; i < ProfileCount; ++i) {
        if (i != index)
            QVERIFY(stacking.indexOf(rig.window.fraDesc[index]) >
                    stacking.indexOf(rig.window.fraDesc[i]));
    }

    rig.window.browserHasFocus = true;
    const QList<QList<int>> modifiers{{}, {vk::Control}, {vk::Menu}};
    for (int i = 0; i < 3; ++i) {
        rig.keys.keys.clear();
        for (int key : modifiers[i])
            rig.keys.keys[key] = 0x8000;
        rig.keys.keys[Num0] = 0x8001;
        rig.panel.tmrGetKey_Timer();
        QCOMPARE(QGuiApplication::clipboard()->text(), valueOf(Field::PADURL, padUrlProfiles[i]));
    }
}

void TestFillingPanel::padUrlSelectsOnFocus_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("selected");
    QTest::newRow("tab into PAD URL 2")
        << u"txtPADURL_1"_s << u"PAD URL"_s << false << u"PAD URL"_s;
    QTest::newRow("click into PAD URL 3") << u"txtPADURL_2"_s << u"http://a.example/pad.xml"_s
                                          << true << u"http://a.example/pad.xml"_s;
    QTest::newRow("empty PAD URL") << u"txtPADURL_0"_s << QString() << true << QString();
    QTest::newRow("local PAD is not selected")
        << u"txtLocalPAD_0"_s << u"/tmp/pad.xml"_s << true << QString();
}

void TestFillingPanel::padUrlSelectsOnFocus()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, byMouse);
    QFETCH(QString, selected);

    Rig rig;
    rig.showActive();
    rig.window.tabControl->setCurrentIndex(1);
    auto *edit = rig.window.findChild<QLineEdit *>(box);
    QVERIFY(edit);
    edit->setText(text);
    rig.window.cmdPADURL->setFocus(); // somewhere else first
    if (byMouse)
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
    else
        edit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(edit->hasFocus());
    QTRY_COMPARE(edit->selectedText(), selected);
    QCOMPARE(edit->cursorPosition(), selected.isEmpty() && byMouse ? 0 : text.size());

    if (!selected.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_X);
        QCOMPARE(edit->text(), u"x"_s);
    }
}

void TestFillingPanel::hoverPictures_data()
{
    // Moves: B F S R over the buttons, "bg" the window's background, "sites",
    // "status" the forwarding controls, "browser" a control that resets nothing.
    QTest::addColumn<QString>("moves");
    QTest::addColumn<QList<int>>("pictures"); // Back, Forward, Stop, Refresh
    QTest::newRow("start") << u""_s << QList<int>{101, 103, 105, 107};
    QTest::newRow("over back") << u"B"_s << QList<int>{102, 103, 105, 107};
    QTest::newRow("back to forward") << u"B F"_s << QList<int>{101, 104, 105, 107};
    QTest::newRow("refresh to back") << u"R B"_s << QList<int>{102, 103, 105, 107};
    QTest::newRow("stop stays lit over the browser")
        << u"S browser"_s << QList<int>{101, 103, 106, 107};
    QTest::newRow("site list resets") << u"S browser sites"_s << QList<int>{101, 103, 105, 107};
    QTest::newRow("status label resets") << u"F status"_s << QList<int>{101, 103, 105, 107};
    QTest::newRow("background resets") << u"R bg"_s << QList<int>{101, 103, 105, 107};
}

void TestFillingPanel::hoverPictures()
{
    QFETCH(QString, moves);
    QFETCH(QList<int>, pictures);

    Rig rig;
    rig.showActive();
    rig.panel.showNormalPictures();
    QToolButton *buttons[] = {rig.window.cmdBack, rig.window.cmdForward, rig.window.cmdStop,
                              rig.window.cmdRefresh};
    for (const QString &move : moves.split(u' ', Qt::SkipEmptyParts)) {
        if (move == u"B")
            sendMouseMove(rig.window.cmdBack);
        else if (move == u"F")
            sendMouseMove(rig.window.cmdForward);
        else if (move == u"S")
            sendMouseMove(rig.window.cmdStop);
        else if (move == u"R")
            sendMouseMove(rig.window.cmdRefresh);
        else if (move == u"sites")
            sendMouseMove(rig.window.lstSites->viewport());
        else if (move == u"status")
            sendMouseMove(rig.window.lblStatus);
        else if (move == u"browser")
            sendMouseMove(rig.browser.widget());
        else
            Q_EMIT rig.window.backgroundMouseMove();
    }
    for (int i = 0; i < 4; ++i)
        QCOMPARE(pictureOf(buttons[i]), pictures[i]);
    QCOMPARE(rig.window.cmdBack->iconSize(), QSize(15, 13));
    QCOMPARE(rig.window.cmdStop->iconSize(), QSize(19, 19));
    QCOMPARE(rig.window.cmdRefresh->iconSize(), QSize(17, 19));
}

QTEST_MAIN(TestFillingPanel)
#include "tst_fillingpanel.moc"
