// The window as built: geometry, captions, tooltips, stacking, the tab switch.
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "ui/TabControl.h"

using namespace tarvelo;

class TestWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fixedClientArea();
    void controlGeometry_data();
    void controlGeometry();
    void detailCaptions_data();
    void detailCaptions();
    void defaultFieldTexts_data();
    void defaultFieldTexts();
    void toolTips_data();
    void toolTips();
    void everyControlIsNamedOnce();
    void detailPanelsDisabledButNotGreyed();
    void detailPanelStacking();
    void hiddenMenuAndTimer();
    void tabSwitchToPadFilesAndBack();
    void multiLineFieldsKeepCrLf();
    void captionsFitTheirControls();
};

namespace {
template <typename T = QWidget> T *find(FrmMain &w, const QString &name)
{
    auto *found = w.findChild<T *>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}
} // namespace

void TestWindow::fixedClientArea()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    QCOMPARE(w.size(), QSize(939, 664));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QCOMPARE(w.windowTitle(), QStringLiteral("Tarvelo"));
}

void TestWindow::controlGeometry_data()
{
    // Pixel rectangles from the twips layout, 15 twips a pixel.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("tabControl") << "tabControl" << QRect(0, 8, 937, 657);
    QTest::newRow("lstSites") << "lstSites" << QRect(8, 24, 469, 94);
    QTest::newRow("cmdBack") << "cmdBack" << QRect(480, 72, 57, 41);
    QTest::newRow("cmdRefresh") << "cmdRefresh" << QRect(672, 72, 57, 41);
    QTest::newRow("cmdPAD") << "cmdPAD" << QRect(744, 90, 49, 23);
    QTest::newRow("cmdHome") << "cmdHome" << QRect(800, 90, 49, 23);
    QTest::newRow("fraBrowser") << "fraBrowser" << QRect(8, 114, 927, 487);
    QTest::newRow("WebBr") << "WebBr" << QRect(0, 8, 921, 455);
    QTest::newRow("lblStatus") << "lblStatus" << QRect(0, 466, 443, 18);
    QTest::newRow("Frame1") << "Frame1" << QRect(104, 604, 677, 50);
    QTest::newRow("cmdProgName") << "cmdProgName" << QRect(0, 2, 113, 21);
    QTest::newRow("cmdHomePage (left 15)") << "cmdHomePage" << QRect(1, 26, 113, 21);
    QTest::newRow("cmdPADURL") << "cmdPADURL" << QRect(561, 26, 113, 21);
    QTest::newRow("fraDetalis") << "fraDetalis" << QRect(8, 24, 919, 625);
    QTest::newRow("fraDesc_1") << "fraDesc_1" << QRect(336, 0, 583, 625);
    QTest::newRow("txtPADURL_2") << "txtPADURL_2" << QRect(76, 188, 249, 19);
    QTest::newRow("txtLocalPAD_1") << "txtLocalPAD_1" << QRect(80, 51, 245, 19);
    QTest::newRow("txtSysReq_0 multi-line") << "txtSysReq_0" << QRect(152, 193, 241, 35);
    QTest::newRow("txtLongDesc_2") << "txtLongDesc_2" << QRect(152, 386, 321, 99);
    QTest::newRow("txtKeywords_1") << "txtKeywords_1" << QRect(152, 496, 321, 46);
    QTest::newRow("lblNumChar_0") << "lblNumChar_0" << QRect(56, 416, 89, 15);
}

void TestWindow::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    WindowFixture fx;
    QWidget *control = find(fx.window(), name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
}

void TestWindow::detailCaptions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("caption");
    QTest::newRow("author") << "txtAuthor" << QStringLiteral("Author") + QString(17, u' ') + u':';
    QTest::newRow("email") << "txtEmail" << QStringLiteral("Email") + QString(20, u' ') + u':';
    QTest::newRow("company") << "txtCompany" << QStringLiteral("Company") + QString(14, u' ') + u':';
    QTest::newRow("name") << "txtProgName" << QStringLiteral("Program Name    :");
    QTest::newRow("version") << "txtProgVer" << QStringLiteral("Program Version :");
    QTest::newRow("size") << "txtFileSize" << QStringLiteral("File Size") + QString(14, u' ') + u':';
    QTest::newRow("os") << "txtOS" << QStringLiteral("Operating System:");
    QTest::newRow("sysreq") << "txtSysReq" << QStringLiteral("System Req.") + QString(9, u' ') + u':';
    QTest::newRow("home") << "txtHomePage" << QStringLiteral("Home Page") + QString(11, u' ') + u':';
    QTest::newRow("url1") << "txtProgURL" << QStringLiteral("Program URL: 1)");
    QTest::newRow("url2") << "txtSecURL" << QStringLiteral("2)");
    QTest::newRow("shot") << "txtSShotURL" << QStringLiteral("Screenshot URL    :");
    QTest::newRow("icon") << "txtProgIcon" << QStringLiteral("Program Icon URL:");
    QTest::newRow("short") << "txtShortDesc" << QStringLiteral("Short Description :");
    QTest::newRow("long") << "txtLongDesc" << QStringLiteral("Long Description  :");
    QTest::newRow("keywords") << "txtKeywords" << QStringLiteral("Keywords") + QString(14, u' ') + u':';
}

void TestWindow::detailCaptions()
{
    QFETCH(QString, field);
    QFETCH(QString, caption);
    WindowFixture fx;
    // Each caption appears once per panel, on the box's line.
    for (int i = 0; i < ProfileCount; ++i) {
        QWidget *box = find(fx.window(), field + u'_' + QString::number(i));
        QVERIFY(box);
        int found = 0;
        for (QLabel *label : box->parentWidget()->findChildren<QLabel *>()) {
            if (label->text() != caption)
                continue;
            ++found;
            QVERIFY(qAbs(label->geometry().top() - box->geometry().top()) <= 2);
        }
        QCOMPARE(found, 1);
    }
}

void TestWindow::defaultFieldTexts_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("version") << int(Field::ProgVer) << QStringLiteral("Program Version 1.0");
    QTest::newRow("size") << int(Field::FileSize) << QStringLiteral("File Size 100 Kb");
    QTest::newRow("sysreq") << int(Field::SysReq) << QStringLiteral("System Requirement\r\n");
    QTest::newRow("url1") << int(Field::ProgURL) << QStringLiteral("http://Program URL");
    QTest::newRow("url2 same as url1") << int(Field::SecURL) << QStringLiteral("http://Program URL");
    QTest::newRow("long") << int(Field::LongDesc) << QStringLiteral("Long Description\r\n");
    QTest::newRow("keywords") << int(Field::Keywords)
                              << QStringLiteral("Keyword1,Keyword2,Keyword3\r\n");
    QTest::newRow("pad url") << int(Field::PADURL) << QStringLiteral("PAD URL");
    QTest::newRow("local pad") << int(Field::LocalPAD) << QStringLiteral("LOCAL PAD");
}

void TestWindow::defaultFieldTexts()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    WindowFixture fx;
    for (int i = 0; i < ProfileCount; ++i)
        QCOMPARE(fx.window().fieldText(Field(field), i), text);
}

void TestWindow::toolTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");
    QTest::newRow("site list") << "lstSites" << "Double click on a site to load.";
    QTest::newRow("pad sites") << "cmdPAD" << "Loads the list of sites which accept PAD submission";
    QTest::newRow("home") << "cmdHome" << "Home";
    QTest::newRow("second url, two blanks") << "txtSecURL_1" << "Use  Control + NumPad 8";
    QTest::newRow("keywords box") << "txtKeywords_2"
                                  << "Enter the keywords which would best describe your software. "
                                     "Comma seperated.";
    QTest::newRow("pad url 1") << "txtPADURL_0" << "Numpad 0";
    QTest::newRow("pad url 2") << "txtPADURL_1" << "Ctrl + Numpad 0";
    QTest::newRow("pad url 3") << "txtPADURL_2" << "Alt + Numpad 0";
    QTest::newRow("label pad url 2") << "lblPADURL_1" << "Ctrl + Numpad 0";
    QTest::newRow("local pad label")
        << "lblLocalPad_2" << "Click here to load the PAD file for your software";
}

void TestWindow::toolTips()
{
    QFETCH(QString, name);
    QFETCH(QString, tip);
    WindowFixture fx;
    QWidget *control = find(fx.window(), name);
    QVERIFY(control);
    QCOMPARE(control->toolTip(), tip);
}

void TestWindow::everyControlIsNamedOnce()
{
    WindowFixture fx;
    QSet<QString> seen;
    const auto children = fx.window().findChildren<QWidget *>();
    for (QWidget *w : children) {
        // Qt's own inner parts (scroll bars, viewports) are not our controls.
        if (w->objectName().startsWith(QLatin1String("qt_")) || !w->parentWidget()
            || qobject_cast<QAbstractButton *>(w->parentWidget()) != nullptr)
            continue;
        const bool ours = qobject_cast<QLabel *>(w) || qobject_cast<QLineEdit *>(w)
                          || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QAbstractButton *>(w)
                          || qobject_cast<QListWidget *>(w);
        if (!ours || w->parentWidget()->inherits("QAbstractScrollArea"))
            continue;
        QVERIFY2(!w->objectName().isEmpty(), w->metaObject()->className());
        QVERIFY2(!seen.contains(w->objectName()), qPrintable(w->objectName()));
        seen.insert(w->objectName());
    }
    QCOMPARE(fx.window().findChildren<QLabel *>(QRegularExpression(QStringLiteral("^lblDName_"))).size(),
             48);
}

void TestWindow::detailPanelsDisabledButNotGreyed()
{
    WindowFixture fx;
    for (int i = 0; i < ProfileCount; ++i) {
        QFrame *panel = fx.window().fraDesc[i];
        QVERIFY(!panel->isEnabled());
        QLineEdit *box = fx.window().txtAuthor[i];
        QVERIFY(!box->isEnabled());
        const QPalette &p = box->palette();
        QCOMPARE(p.color(QPalette::Disabled, QPalette::Text), p.color(QPalette::Active, QPalette::Text));
        QCOMPARE(p.color(QPalette::Disabled, QPalette::Base), p.color(QPalette::Active, QPalette::Base));
    }
    // The PAD URL and local PAD boxes stay usable.
    QVERIFY(fx.window().txtPADURL[1]->isEnabled());
    QVERIFY(fx.window().txtLocalPAD[2]->isEnabled());
}

void TestWindow::detailPanelStacking()
{
    WindowFixture fx;
    // Front to back: fraDesc(0), fraDesc(2), fraDesc(1).
    const QObjectList order = fx.window().fraDetalis->children();
    const auto pos = [&](QWidget *w) { return order.indexOf(w); };
    QVERIFY(pos(fx.window().fraDesc[0]) > pos(fx.window().fraDesc[2]));
    QVERIFY(pos(fx.window().fraDesc[2]) > pos(fx.window().fraDesc[1]));
}

void TestWindow::hiddenMenuAndTimer()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    QCOMPARE(w.mnuNew->title(), QStringLiteral("New"));
    QVERIFY(!w.mnuNew->isVisible());
    QCOMPARE(w.tmrGetKey->interval(), 10);
    QVERIFY(w.tmrGetKey->isActive());
    QVERIFY(!w.browserHasFocus);
}

void TestWindow::tabSwitchToPadFilesAndBack()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    fx.session->startUp();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(w.tabControl->tabBar()->tabText(0), QStringLiteral("Main Window"));
    QCOMPARE(w.tabControl->tabBar()->tabText(1), QStringLiteral("PAD Files"));

    w.tabControl->setCurrentIndex(1);
    QTRY_COMPARE(QApplication::focusWidget(), w.txtLocalPAD[0]);
    QVERIFY(!w.Frame1->isEnabled());
    QVERIFY(!w.cmdProgName->isEnabled());
    QVERIFY(!w.fraBrowser->isVisible());

    w.txtLocalPAD[2]->setText(QStringLiteral("/chosen/on/details.xml"));
    w.setCurrentProfileTag(QStringLiteral("1"));
    w.tabControl->setCurrentIndex(0);
    QVERIFY(w.Frame1->isEnabled());
    QVERIFY(w.cmdPADURL->isEnabled());
    // Stored at once, not only at exit.
    QSettings stored(fx.settingsFile(), QSettings::NativeFormat);
    QCOMPARE(stored.value(QStringLiteral("Settings/txtLocalPAD2")).toString(),
             QStringLiteral("/chosen/on/details.xml"));
    QCOMPARE(w.currentProfileTag(), QStringLiteral("1"));
    QCOMPARE(w.fraBrowser->parentWidget()->children().last(), w.fraBrowser);
}

void TestWindow::multiLineFieldsKeepCrLf()
{
    WindowFixture fx;
    FrmMain &w = fx.window();
    w.setFieldText(Field::LongDesc, 1, QStringLiteral("one\r\ntwo\nthree\rfour"));
    QCOMPARE(w.fieldText(Field::LongDesc, 1), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
    w.setFieldText(Field::ProgName, 2, QStringLiteral("  spaced  "));
    QCOMPARE(w.fieldText(Field::ProgName, 2), QStringLiteral("  spaced  "));
}

void TestWindow::captionsFitTheirControls()
{
    // A caption wider than its control is cut off on screen.
    WindowFixture fx;
    FrmMain &w = fx.window();
    w.lblStatus->setText(QStringLiteral(" Done - file:///tmp/tempIndex.html"));
    for (QLabel *label : w.findChildren<QLabel *>()) {
        if (label->text().isEmpty() || label->objectName().isEmpty())
            continue;
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName() + QStringLiteral(": ") + label->text()));
        QVERIFY2(metrics.height() <= label->height() + 2, qPrintable(label->objectName()));
    }
    for (QAbstractButton *button : w.Frame1->findChildren<QAbstractButton *>()) {
        if (button->text().isEmpty())
            continue;
        const QFontMetrics metrics(button->font());
        QVERIFY2(metrics.horizontalAdvance(button->text()) + 8 <= button->width(),
                 qPrintable(button->objectName()));
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
