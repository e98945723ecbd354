// The site list opens the selected site from the keyboard as it does on a
// double-click: once per press, and only with the keys that mean "open".
#include "WindowFixture.h"

#include <QListWidget>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

class RecordingBrowser : public FakeBrowser
{
public:
    void navigate(const QString &address) override { opened << address; }
    QStringList opened;
};

} // namespace

class TestSiteListKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensSelectedSite_data();
    void opensSelectedSite();
};

void TestSiteListKeys::opensSelectedSite_data()
{
    QTest::addColumn<QString>("act"); // press, held (auto-repeat) or double-click
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("selected"); // a site is the list's current one
    QTest::addColumn<int>("opened");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("Return") << u"press"_s << int(Qt::Key_Return) << none << true << 1;
    QTest::newRow("keypad Enter") << u"press"_s << int(Qt::Key_Enter)
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier) << true << 1;
    QTest::newRow("Space") << u"press"_s << int(Qt::Key_Space) << none << true << 1;
    QTest::newRow("Return held") << u"held"_s << int(Qt::Key_Return) << none << true << 1;
    QTest::newRow("no site selected") << u"press"_s << int(Qt::Key_Return) << none << false << 0;
    QTest::newRow("Ctrl+Space") << u"press"_s << int(Qt::Key_Space)
                                << Qt::KeyboardModifiers(Qt::ControlModifier) << true << 0;
    QTest::newRow("double-click") << u"double-click"_s << 0 << none << true << 1;
}

void TestSiteListKeys::opensSelectedSite()
{
    QFETCH(QString, act);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, selected);
    QFETCH(int, opened);
    RecordingBrowser browser;
    WindowFixture fx(&browser);
    QVERIFY(fx.showActive());
    auto *list = fx.control<QListWidget>(u"lstSites"_s);
    QVERIFY(list->count() > 3);
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    list->setCurrentRow(selected ? 2 : -1); // the focus made the first row current
    const auto k = Qt::Key(key);
    const QRect row = list->visualItemRect(list->item(2));
    if (act == u"double-click") {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    } else {
        QTest::keyPress(list, k, modifiers);
        if (act == u"held") {
            for (int i = 0; i < 3; ++i) {
                QKeyEvent repeat(QEvent::KeyPress, k, modifiers, QString(), true);
                QApplication::sendEvent(list, &repeat);
            }
        }
        QTest::keyRelease(list, k, modifiers);
    }
    QCOMPARE(browser.opened.size(), opened);
    if (opened)
        QCOMPARE(browser.opened.first(), list->item(2)->text());
    QCOMPARE(list->currentRow(), selected ? 2 : -1); // the keys move nothing
}

QTEST_MAIN(TestSiteListKeys)
#include "tst_sitelistkeys.moc"
