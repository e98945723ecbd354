// The window at its default size stands as it always did; larger, the browser
// takes the room and the controls around it keep their places beside it; its
// size, place and maximised state come back at the next start.
#include "WindowFixture.h"
#include "gui/window/WindowPlacement.h"

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace tarvelo;

namespace {

constexpr QSize Larger(1400, 1000);

// The named control's rectangle in the window's coordinates.
QRect inWindow(WindowFixture &fx, const QString &name)
{
    QWidget *w = fx.control(name);
    return QRect(w->mapTo(&fx.window(), QPoint(0, 0)), w->size());
}

QPoint browserCorner(WindowFixture &fx, Qt::Corner corner)
{
    const QRect b = inWindow(fx, u"fraBrowser"_s);
    const bool right = corner == Qt::TopRightCorner || corner == Qt::BottomRightCorner;
    const bool bottom = corner == Qt::BottomLeftCorner || corner == Qt::BottomRightCorner;
    return QPoint(right ? b.x() + b.width() : b.x(), bottom ? b.y() + b.height() : b.y());
}

QHash<QString, QRect> namedGeometries(QWidget &window)
{
    QHash<QString, QRect> all;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            all.insert(w->objectName(), w->geometry());
    }
    return all;
}

// A window shown where and as the case says: "default", "larger" or "maximised".
bool showAs(WindowFixture &fx, const QString &size)
{
    if (size == u"larger")
        fx.window().resize(Larger);
    if (size == u"maximised")
        fx.window().setWindowState(Qt::WindowMaximized);
    return fx.showActive();
}

QByteArray geometryOf(QSize size, QPoint place)
{
    QWidget probe;
    probe.setGeometry(QRect(place, size));
    return probe.saveGeometry();
}

} // namespace

class TestWindowSize : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultPlacement_data();
    void defaultPlacement();
    void growsBackToDefaultExactly();
    void besideTheBrowser_data();
    void besideTheBrowser();
    void takesTheRoom_data();
    void takesTheRoom();
    void neverSmaller();
    void usablePlacement_data();
    void usablePlacement();
    void rememberedAcrossRuns_data();
    void rememberedAcrossRuns();
};

void TestWindowSize::defaultPlacement_data()
{
    // In the parent's pixels, as the twips layout has always placed them.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("window") << u"frmMain"_s << QRect(0, 0, 939, 664);
    QTest::newRow("tab control") << u"tabControl"_s << QRect(0, 8, 937, 657);
    QTest::newRow("site list") << u"lstSites"_s << QRect(8, 24, 469, 94);
    QTest::newRow("back") << u"cmdBack"_s << QRect(480, 72, 57, 41);
    QTest::newRow("forward") << u"cmdForward"_s << QRect(536, 72, 57, 41);
    QTest::newRow("stop") << u"cmdStop"_s << QRect(616, 72, 57, 41);
    QTest::newRow("refresh") << u"cmdRefresh"_s << QRect(672, 72, 57, 41);
    QTest::newRow("PAD sites") << u"cmdPAD"_s << QRect(744, 90, 49, 23);
    QTest::newRow("home") << u"cmdHome"_s << QRect(800, 90, 49, 23);
    QTest::newRow("browser frame") << u"fraBrowser"_s << QRect(8, 114, 927, 487);
    QTest::newRow("browser") << u"WebBr"_s << QRect(0, 8, 921, 455);
    QTest::newRow("status") << u"lblStatus"_s << QRect(0, 466, 443, 18);
    QTest::newRow("progress") << u"lblProgress"_s << QRect(456, 467, 81, 17);
    QTest::newRow("right-click hint") << u"lblRightInfo"_s << QRect(696, 469, 223, 13);
    QTest::newRow("field buttons") << u"Frame1"_s << QRect(104, 604, 677, 50);
    QTest::newRow("current program") << u"lblCurrentProgram"_s << QRect(786, 604, 146, 50);
    QTest::newRow("PAD Files frame") << u"fraDetalis"_s << QRect(8, 24, 919, 625);
}

void TestWindowSize::defaultPlacement()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    WindowFixture fx; // a first start: no geometry remembered
    fx.session->startUp();
    QVERIFY(fx.showActive());
    if (name == u"frmMain") // the desktop places the window itself
        QCOMPARE(fx.window().size(), geometry.size());
    else
        QCOMPARE(fx.control(name)->geometry(), geometry);
}

void TestWindowSize::growsBackToDefaultExactly()
{
    WindowFixture fx;
    QVERIFY(fx.showActive());
    const QHash<QString, QRect> built = namedGeometries(fx.window());
    QVERIFY(built.size() > 100);
    fx.window().resize(Larger);
    QCOMPARE(fx.window().size(), Larger);
    QVERIFY(namedGeometries(fx.window()) != built);
    fx.window().resize(MainWindow::defaultSize());
    const QHash<QString, QRect> back = namedGeometries(fx.window());
    for (auto it = built.cbegin(); it != built.cend(); ++it) {
        QVERIFY2(back.value(it.key()) == it.value(), qPrintable(it.key()));
    }
}

void TestWindowSize::besideTheBrowser_data()
{
    // A control's rectangle relative to a corner of the browser frame, as at
    // the default size.
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::Corner>("corner");
    QTest::addColumn<QRect>("relative");
    const auto row = [](const char *name, Qt::Corner corner, QRect relative) {
        QTest::newRow(name) << QString::fromLatin1(name) << corner << relative;
    };
    row("cmdBack", Qt::TopRightCorner, {-455, -42, 57, 41});
    row("cmdForward", Qt::TopRightCorner, {-399, -42, 57, 41});
    row("cmdStop", Qt::TopRightCorner, {-319, -42, 57, 41});
    row("cmdRefresh", Qt::TopRightCorner, {-263, -42, 57, 41});
    row("cmdPAD", Qt::TopRightCorner, {-191, -24, 49, 23});
    row("cmdHome", Qt::TopRightCorner, {-135, -24, 49, 23});
    row("lblStatus", Qt::BottomLeftCorner, {0, -21, 443, 18});
    row("lblProgress", Qt::BottomLeftCorner, {456, -20, 81, 17});
    row("lblRightInfo", Qt::BottomRightCorner, {-231, -18, 223, 13});
    row("Frame1", Qt::BottomLeftCorner, {96, 3, 677, 50});
    row("cmdProgName", Qt::BottomLeftCorner, {96, 5, 113, 21});
    row("lblCurrentProgram", Qt::BottomLeftCorner, {778, 3, 146, 50});
}

void TestWindowSize::besideTheBrowser()
{
    QFETCH(QString, name);
    QFETCH(Qt::Corner, corner);
    QFETCH(QRect, relative);
    for (const QString &size : {u"larger"_s, u"maximised"_s}) { // default: the table above
        WindowFixture fx;
        QVERIFY(showAs(fx, size));
        const QRect seen = inWindow(fx, name).translated(-browserCorner(fx, corner));
        QVERIFY2(seen == relative, qPrintable(size));
    }
}

void TestWindowSize::takesTheRoom_data()
{
    // At 1400 x 1000, 461 x 336 pixels more than the default.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("tab control") << u"tabControl"_s << QRect(0, 8, 1398, 993);
    QTest::newRow("Main Window page") << u"tabMainWindow"_s << QRect(0, 0, 1398, 993);
    QTest::newRow("PAD Files page") << u"tabPadFiles"_s << QRect(0, 0, 1398, 993);
    QTest::newRow("browser frame") << u"fraBrowser"_s << QRect(8, 114, 1388, 823);
    QTest::newRow("browser") << u"WebBr"_s << QRect(0, 8, 1382, 791);
    QTest::newRow("site list") << u"lstSites"_s << QRect(8, 24, 930, 94);
    QTest::newRow("PAD Files frame stays") << u"fraDetalis"_s << QRect(8, 24, 919, 625);
    QTest::newRow("a PAD Files box stays") << u"txtLocalPAD_0"_s << QRect(80, 24, 245, 19);
}

void TestWindowSize::takesTheRoom()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    WindowFixture fx;
    QVERIFY(showAs(fx, u"larger"_s));
    QCOMPARE(fx.control(name)->geometry(), geometry);
}

void TestWindowSize::neverSmaller()
{
    WindowFixture fx;
    QVERIFY(fx.showActive());
    QCOMPARE(fx.window().minimumSize(), QSize(939, 664));
    QCOMPARE(fx.window().maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    fx.window().resize(1200, 500); // wider, but too low
    QCOMPARE(fx.window().size(), QSize(1200, 664));
    QCOMPARE(fx.control(u"fraBrowser"_s)->height(), 487);
    fx.window().resize(600, 400);
    QCOMPARE(fx.window().size(), QSize(939, 664));
    QCOMPARE(fx.control(u"cmdHome"_s)->geometry(), QRect(800, 90, 49, 23));
}

void TestWindowSize::usablePlacement_data()
{
    // The screens: 1920 x 1080 at the origin, and a second one right of it.
    QTest::addColumn<QRect>("normal");
    QTest::addColumn<bool>("usable");
    QTest::newRow("default size") << QRect(10, 20, 939, 664) << true;
    QTest::newRow("a pixel too narrow") << QRect(10, 20, 938, 664) << false;
    QTest::newRow("a pixel too low") << QRect(10, 20, 939, 663) << false;
    QTest::newRow("larger than the screen") << QRect(0, 0, 3000, 2000) << true;
    QTest::newRow("on the second screen") << QRect(2500, 100, 939, 664) << true;
    QTest::newRow("in the gap below the second screen") << QRect(2500, 900, 939, 664) << false;
    QTest::newRow("100 x 40 seen at the bottom right")
        << QRect(1820, 1040, 939, 664) << true; // the second screen stops at 900
    QTest::newRow("99 pixels seen") << QRect(1821, 1000, 939, 664) << false;
    QTest::newRow("39 pixels seen") << QRect(-839, 1041, 939, 664) << false;
    QTest::newRow("far away") << QRect(20000, 20000, 939, 664) << false;
    QTest::newRow("no geometry") << QRect() << false;
}

void TestWindowSize::usablePlacement()
{
    QFETCH(QRect, normal);
    QFETCH(bool, usable);
    const QList<QRect> screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 900}};
    QCOMPARE(WindowPlacement::usable(normal, QSize(939, 664), screens), usable);
}

void TestWindowSize::rememberedAcrossRuns_data()
{
    // The first run leaves the window so (or writes the given bytes); the
    // second shows it so.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QRect>("normal"); // in the second run; empty: the default size
    QTest::addColumn<bool>("maximised");
    QTest::newRow("moved and larger")
        << u"larger"_s << QByteArray() << QRect(60, 70, 1200, 900) << false;
    QTest::newRow("maximised") << u"maximised"_s << QByteArray() << QRect(60, 70, 1200, 900)
                               << true;
    QTest::newRow("smaller than the minimum")
        << u"bytes"_s << geometryOf({900, 1000}, {10, 10}) << QRect() << false;
    QTest::newRow("off every screen")
        << u"bytes"_s << geometryOf({1000, 700}, {4000, 3000}) << QRect() << false;
    QTest::newRow("not a geometry")
        << u"bytes"_s << QByteArray("\x01\xd9\xd0\xcb\x00\x09", 6) << QRect() << false;
}

void TestWindowSize::rememberedAcrossRuns()
{
    QFETCH(QString, first);
    QFETCH(QByteArray, bytes);
    QFETCH(QRect, normal);
    QFETCH(bool, maximised);
    QTemporaryDir home;
    const QString file = home.filePath(u"Tarvelo.conf"_s);
    if (first == u"bytes") {
        QVERIFY(SettingsStore(file).save({.windowGeometry = bytes}));
    } else {
        WindowFixture run;
        run.session->startUp();
        run.window().setGeometry(QRect(60, 70, 1200, 900));
        QVERIFY(showAs(run, first == u"maximised" ? first : u"as set"_s));
        run.dialogs.answers << QMessageBox::Yes;
        QVERIFY(run.window().close());
        QVERIFY(QFile::copy(run.settingsFile, file));
    }

    WindowFixture next;
    QVERIFY(QFile::copy(file, next.settingsFile));
    next.session->startUp();
    QVERIFY(next.showActive());
    QCOMPARE(next.window().isMaximized(), maximised);
    const QRect shown = next.window().normalGeometry();
    if (normal.isEmpty())
        QCOMPARE(shown.size(), MainWindow::defaultSize());
    else
        QCOMPARE(shown, normal);
}

// A desktop's screen, larger than the window; the offscreen platform's own is
// 800 x 800, smaller than the window's default size.
int main(int argc, char **argv)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(u"screens.json"_s);
    QFile json(config);
    if (!json.open(QIODevice::WriteOnly) ||
        json.write(R"({"screens": [{"name": "Desk", "x": 0, "y": 0,
                        "width": 1920, "height": 1080}]})") < 0)
        return 2;
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    QApplication app(argc, argv);
    TestWindowSize test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowsize.moc"
