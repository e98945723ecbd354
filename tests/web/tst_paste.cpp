// Pasting into a real page: field buttons and keypad shortcuts end with the
// value in the page's focused element and the focus back in the browser.
#include "ScriptRunner.h"
#include "browser/WebEngineBrowser.h"
#include "filling/FillingPanel.h"
#include "filling/KeyStateFilter.h"
#include "ui/ClickableLabel.h"
#include "ui/FrmMain.h"
#include "ui/TabControl.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include <memory>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

QString page(const QString &name)
{
    return QStringLiteral(TARVELO_TEST_DATA "/web/") + name;
}

// The real key state, counting the ticks that ask it anything.
class CountingKeyState : public KeyState
{
public:
    explicit CountingKeyState(KeyState &real) : m_real(real) {}
    std::uint16_t asyncKeyState(int virtualKey) override
    {
        return m_real.asyncKeyState(virtualKey);
    }
    bool hasActiveWindow() const override
    {
        ++ticks;
        return m_real.hasActiveWindow();
    }
    mutable int ticks = 0;

private:
    KeyState &m_real;
};

// Counts the key releases the browser hands back to the window, unused by the page.
class HandedBackReleases : public QObject
{
public:
    explicit HandedBackReleases(QWidget *browserParent) : m_parent(browserParent)
    {
        qApp->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_parent && event->type() == QEvent::KeyRelease)
            ++count;
        return false;
    }

private:
    QWidget *m_parent;
};

QString jsLiteral(const QString &text)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

} // namespace

class TestPaste : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fieldButton_data();
    void fieldButton();
    void keypadOneTypesProgramName();
    void ctrlKeypadZeroPastesNextProfile();
    void tapBetweenTwoTicksDoesNothing();
    void autoRepeatPastesOncePerKeyDown();
    void lateReleaseDoesNotUndoTheNextPress();
    void thirdProfileLabel_data();
    void thirdProfileLabel();

private:
    QString valueOf(const QString &id)
    {
        return runScriptAndWait(*m_browser,
                                u"document.getElementById(%1).value"_s.arg(jsLiteral(id)))
            .toString();
    }
    void clickInto(const QString &id);
    void sendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                 bool autoRepeat = false);
    int pastes()
    {
        return runScriptAndWait(*m_browser, u"Number(document.body.dataset.pastes || 0)"_s).toInt();
    }
    void waitTicks(int count);
    void pressKeypad(int key, Qt::KeyboardModifiers modifiers = {});
    void releaseKeypad(int key, Qt::KeyboardModifiers modifiers = {});
    void clickAt(QWidget *widget, QPoint at);

    std::unique_ptr<WebEngineBrowser> m_browser;
    std::unique_ptr<FrmMain> m_window;
    std::unique_ptr<KeyStateFilter> m_keys;
    std::unique_ptr<CountingKeyState> m_counting;
    quint64 m_keyTime = 1000;
    std::unique_ptr<FillingPanel> m_panel;
};

void TestPaste::init()
{
    m_browser = std::make_unique<WebEngineBrowser>();
    m_window = std::make_unique<FrmMain>(m_browser.get());
    m_keys = std::make_unique<KeyStateFilter>();
    m_counting = std::make_unique<CountingKeyState>(*m_keys);
    m_panel = std::make_unique<FillingPanel>(*m_window, *m_browser, *m_counting);
    for (int p = 0; p < ProfileCount; ++p) {
        m_window->setFieldText(Field::ProgName, p, u"Program of profile %1"_s.arg(p));
        m_window->setFieldText(Field::PADURL, p, u"http://pad.example/%1.xml"_s.arg(p));
    }
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    QSignalSpy loaded(m_browser.get(), &Browser::downloadComplete);
    m_browser->navigate(page(u"fill-form.html"_s));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 30000);
}

void TestPaste::cleanup()
{
    m_panel.reset();
    m_counting.reset();
    m_keys.reset();
    m_window.reset(); // deletes the view, which the browser gave it
    m_browser.reset();
}

// A click as the platform delivers it, through the window: the clicked
// widget takes the keyboard focus as with a real mouse.
void TestPaste::clickAt(QWidget *widget, QPoint at)
{
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(m_window.get(), at));
}

// Clicks into a page element as the user does; the browser takes the focus.
void TestPaste::clickInto(const QString &id)
{
    const QVariantList box =
        runScriptAndWait(
            *m_browser,
            u"(function(){ const r = document.getElementById(%1).getBoundingClientRect();"
            u" return [r.left + 10, r.top + r.height / 2]; })()"_s.arg(jsLiteral(id)))
            .toList();
    QCOMPARE(box.size(), 2);
    clickAt(m_browser->view(), QPoint(box[0].toInt(), box[1].toInt()));
    QTRY_COMPARE(runScriptAndWait(*m_browser, u"document.activeElement.id"_s).toString(), id);
    QTRY_VERIFY(m_window->browserHasFocus);
}

// As the platform sends it: to the window, which hands it to the focus widget,
// with a time of its own as real key events have.
void TestPaste::sendKey(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                        bool autoRepeat)
{
    const bool digit = key >= Qt::Key_0 && key <= Qt::Key_9;
    const QString text = digit && !(modifiers & Qt::ControlModifier)
                             ? QString(QChar(u'0' + key - Qt::Key_0))
                             : QString();
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    event.setTimestamp(m_keyTime += 40);
    QCoreApplication::sendEvent(m_window->windowHandle(), &event);
}

void TestPaste::pressKeypad(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier)
        sendKey(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
    if (modifiers & Qt::AltModifier)
        sendKey(QEvent::KeyPress, Qt::Key_Alt, modifiers);
    sendKey(QEvent::KeyPress, key, modifiers | Qt::KeypadModifier);
}

void TestPaste::releaseKeypad(int key, Qt::KeyboardModifiers modifiers)
{
    sendKey(QEvent::KeyRelease, key, modifiers | Qt::KeypadModifier);
    if (modifiers & Qt::AltModifier)
        sendKey(QEvent::KeyRelease, Qt::Key_Alt, modifiers & Qt::ControlModifier);
    if (modifiers & Qt::ControlModifier)
        sendKey(QEvent::KeyRelease, Qt::Key_Control, {});
}

void TestPaste::waitTicks(int count)
{
    const int until = m_counting->ticks + count;
    QTRY_VERIFY(m_counting->ticks >= until);
}

void TestPaste::fieldButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("expected"); // what the page element holds afterwards

    QTest::newRow("program name into an input")
        << u"cmdProgName"_s << int(Field::ProgName) << u"Tarvelo Writer 2.1"_s << u"name"_s
        << u"Tarvelo Writer 2.1"_s;
    QTest::newRow("line breaks into a textarea")
        << u"cmdLongDesc"_s << int(Field::LongDesc) << u"First line.\r\nSecond line.\r\n\r\nLast."_s
        << u"desc"_s << u"First line.\nSecond line.\n\nLast."_s;
    QTest::newRow("empty value empties the box")
        << u"cmdEmail"_s << int(Field::Email) << QString() << u"email"_s << QString();
    QTest::newRow("quotes and markup stay text")
        << u"cmdShortDesc"_s << int(Field::ShortDesc) << u"<b>\"fast\"</b> & 'small' \\"_s
        << u"name"_s << u"<b>\"fast\"</b> & 'small' \\"_s;
}

void TestPaste::fieldButton()
{
    QFETCH(QString, button);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, element);
    QFETCH(QString, expected);

    m_window->setFieldText(Field(field), 0, value);
    clickInto(element);

    auto *fieldButton = m_window->findChild<QPushButton *>(button);
    QVERIFY(fieldButton);
    QWidget *focusAtClick = nullptr;
    connect(fieldButton, &QPushButton::pressed, this,
            [&] { focusAtClick = QApplication::focusWidget(); });
    clickAt(fieldButton, fieldButton->rect().center());

    QCOMPARE(focusAtClick, fieldButton); // the click took the focus from the page
    QTRY_COMPARE(valueOf(element), expected);
    QVERIFY(m_browser->hasFocus());
    QVERIFY(m_window->browserHasFocus);
    QCOMPARE(runScriptAndWait(*m_browser, u"document.activeElement.id"_s).toString(), element);
    QCOMPARE(QGuiApplication::clipboard()->text(), m_window->fieldText(Field(field), 0));
    disconnect(fieldButton, nullptr, this, nullptr);
}

void TestPaste::keypadOneTypesProgramName()
{
    clickInto(u"name"_s);
    pressKeypad(Qt::Key_1);
    QTRY_COMPARE(valueOf(u"name"_s), u"Program of profile 0"_s);
    releaseKeypad(Qt::Key_1);
    QVERIFY(m_browser->hasFocus());

    // Released and pressed again: pasted again, over what was typed meanwhile.
    runScriptAndWait(*m_browser, u"document.getElementById('name').value = 'typed over'"_s);
    pressKeypad(Qt::Key_1);
    QTRY_COMPARE(valueOf(u"name"_s), u"Program of profile 0"_s);
    releaseKeypad(Qt::Key_1);
}

void TestPaste::ctrlKeypadZeroPastesNextProfile()
{
    clickInto(u"pad"_s);
    pressKeypad(Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(valueOf(u"pad"_s), u"http://pad.example/1.xml"_s);
    releaseKeypad(Qt::Key_0, Qt::ControlModifier);
}

void TestPaste::tapBetweenTwoTicksDoesNothing()
{
    // Pressed and let go before a tick reads it. The page does not use
    // Ctrl + keypad 0 and hands the press back to the window later: that is
    // still the same press, and it must not paste late.
    clickInto(u"pad"_s);
    m_window->tmrGetKey->stop();
    pressKeypad(Qt::Key_0, Qt::ControlModifier);
    releaseKeypad(Qt::Key_0, Qt::ControlModifier);
    m_window->tmrGetKey->start();

    waitTicks(30);
    QCOMPARE(valueOf(u"pad"_s), QString());

    // The next real press works.
    pressKeypad(Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(valueOf(u"pad"_s), u"http://pad.example/1.xml"_s);
    releaseKeypad(Qt::Key_0, Qt::ControlModifier);
}

void TestPaste::autoRepeatPastesOncePerKeyDown()
{
    // The page does not use Ctrl + keypad 0 and hands each key-down back to
    // the window; only the platform's own key-downs may paste.
    clickInto(u"pad"_s);
    pressKeypad(Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(pastes(), 1);
    waitTicks(20);
    for (int repeat = 2; repeat <= 4; ++repeat) {
        sendKey(QEvent::KeyPress, Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier, true);
        QTRY_COMPARE(pastes(), repeat);
        waitTicks(20);
    }
    QCOMPARE(pastes(), 4);
    releaseKeypad(Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(valueOf(u"pad"_s), u"http://pad.example/1.xml"_s);
}

void TestPaste::lateReleaseDoesNotUndoTheNextPress()
{
    // Keypad 1 tapped, then pressed again and held. The page hands the first
    // release back to the window after the second press: the key is still down.
    clickInto(u"name"_s);
    HandedBackReleases handedBack(m_browser->view()->parentWidget());
    m_window->tmrGetKey->stop();
    sendKey(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
    sendKey(QEvent::KeyRelease, Qt::Key_1, Qt::KeypadModifier);
    sendKey(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
    QTRY_VERIFY(handedBack.count >= 1);
    m_window->tmrGetKey->start();

    QTRY_COMPARE(valueOf(u"name"_s), u"Program of profile 0"_s);
    releaseKeypad(Qt::Key_1);
}

void TestPaste::thirdProfileLabel_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("keypad 0") << 0 << u"http://pad.example/2.xml"_s;
    QTest::newRow("ctrl + keypad 0") << int(Qt::ControlModifier) << u"http://pad.example/0.xml"_s;
    QTest::newRow("alt + keypad 0") << int(Qt::AltModifier) << u"http://pad.example/1.xml"_s;
    QTest::newRow("ctrl + alt + keypad 0")
        << int(Qt::ControlModifier | Qt::AltModifier) << u"http://pad.example/1.xml"_s;
}

void TestPaste::thirdProfileLabel()
{
    QFETCH(int, modifiers);
    QFETCH(QString, expected);

    m_window->tabControl->setCurrentIndex(1);
    clickAt(m_window->lblPADURL[2], QPoint(5, 5));
    m_window->tabControl->setCurrentIndex(0);

    QCOMPARE(m_window->currentProfile(), 2);
    const QColor red(255, 0, 0);
    const QColor black(0, 0, 0);
    QCOMPARE(m_window->lblPADURL[2]->palette().color(QPalette::WindowText), red);
    QCOMPARE(m_window->lblPADURL[0]->palette().color(QPalette::WindowText), black);
    QCOMPARE(m_window->lblPADURL[1]->palette().color(QPalette::WindowText), black);
    QCOMPARE(m_window->lblPADURL[2]->toolTip(), u"Numpad 0"_s);
    QCOMPARE(m_window->lblPADURL[0]->toolTip(), u"Ctrl + Numpad 0"_s);
    QCOMPARE(m_window->lblPADURL[1]->toolTip(), u"Alt + Numpad 0"_s);

    clickInto(u"pad"_s);
    pressKeypad(Qt::Key_0, Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(valueOf(u"pad"_s), expected);
    releaseKeypad(Qt::Key_0, Qt::KeyboardModifiers(modifiers));
}

QTEST_MAIN(TestPaste)
#include "tst_paste.moc"
