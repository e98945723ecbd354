// A keypad press reaches the page without waiting for the timer: a tick runs
// right after the press and decides as the timer's next reading would have.
#include "WindowFixture.h"
#include "gui/browser/Browser.h"
#include "gui/filling/FillingPanel.h"

#include <QTimer>

using namespace tarvelo;

class TestKeyPress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tickAtPress_data()
    {
        QTest::addColumn<bool>("browserFocused");
        QTest::addColumn<bool>("timerOn");
        QTest::addColumn<int>("timerTicksAfter"); // with the key still held
        QTest::addColumn<int>("pastes");
        QTest::newRow("press pastes at once") << true << true << 0 << 1;
        QTest::newRow("held across the next ticks") << true << true << 2 << 1;
        QTest::newRow("browser without the focus") << false << true << 0 << 0;
        QTest::newRow("timer stopped, window not active") << true << false << 0 << 0;
    }
    void tickAtPress()
    {
        QFETCH(bool, browserFocused);
        QFETCH(bool, timerOn);
        QFETCH(int, timerTicksAfter);
        QFETCH(int, pastes);
        WindowFixture fx;
        if (browserFocused)
            Q_EMIT fx.fakeBrowser.gotFocus();
        QTimer *timer = fx.control<QTimer>(QStringLiteral("tmrGetKey"));
        timer->start(3600 * 1000); // running, but never due: only the press can tick
        if (!timerOn)
            timer->stop();
        fx.window().setFieldText(Field::ProgName, 0, QStringLiteral("Name"));

        fx.keys.press(vk::Numpad0 + 1);
        QCOMPARE(fx.fakeBrowser.pastes, 0); // after the event, not inside it
        QCoreApplication::processEvents();
        QCOMPARE(fx.fakeBrowser.pastes, pastes);
        for (int i = 0; i < timerTicksAfter; ++i)
            fx.session->filling().onKeyTimer();
        QCOMPARE(fx.fakeBrowser.pastes, pastes);
    }
};

QTEST_MAIN(TestKeyPress)
#include "tst_keypress.moc"
