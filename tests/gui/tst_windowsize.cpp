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

QHash<QString, QRect> namedGeometries(QWidget &window)
{
    QHash<QString, QRect> all;
    for (QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            all.insert(w->objectName(), w->geometry());
    }
    return all;
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
    void placement_data();
    void placement();
    void growsBackToDefaultExactly();
    void usablePlacement_data();
    void usablePlacement();
    void rememberedAcrossRuns_data();
    void rememberedAcrossRuns();
};

void TestWindowSize::placement_data()
{
    // In the parent's pixels; 1400 x 1000 is 461 x 336 more than the default.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("atDefault");
    QTest::addColumn<QRect>("atLarger");
    const auto row = [](const char *name, QRect atDefault, QRect atLarger) {
        QTest::newRow(name) << QString::fromLatin1(name) << atDefault << atLarger;
    };
    row("frmMain", {0, 0, 939, 664}, {0, 0, 1400, 1000}); // the desktop places the window
    row("lstSites", {8, 24, 469, 94}, {8, 24, 930, 94});
    row("cmdHome", {800, 90, 49, 23}, {1261, 90, 49, 23});
    row("fraBrowser", {8, 114, 927, 487}, {8, 114, 1388, 823});
    row("lblStatus", {0, 466, 443, 18}, {0, 802, 443, 18});
    row("lblRightInfo", {696, 469, 223, 13}, {1157, 805, 223, 13});
    row("Frame1", {104, 604, 677, 50}, {104, 940, 677, 50});
    row("fraDetalis", {8, 24, 919, 625}, {8, 24, 919, 625}); // the PAD Files page stays
}

void TestWindowSize::placement()
{
    QFETCH(QString, name);
    QFETCH(QRect, atDefault);
    QFETCH(QRect, atLarger);
    WindowFixture fx; // a first start: no geometry remembered
    fx.session->startUp();
    QVERIFY(fx.showActive());
    const auto seen = [&] {
        return name == u"frmMain" ? QRect(QPoint(), fx.window().size())
                                  : fx.control(name)->geometry();
    };
    QCOMPARE(seen(), atDefault);
    fx.window().resize(Larger);
    QCOMPARE(seen(), atLarger);
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
    for (auto it = built.cbegin(); it != built.cend(); ++it)
        QVERIFY2(back.value(it.key()) == it.value(), qPrintable(it.key()));
    QCOMPARE(fx.window().minimumSize(), QSize(939, 664)); // never smaller
    fx.window().resize(600, 400);
    QCOMPARE(namedGeometries(fx.window()), built);
}

void TestWindowSize::usablePlacement_data()
{
    // The screens: 1920 x 1080 at the origin, and a second one right of it.
    QTest::addColumn<QRect>("normal");
    QTest::addColumn<bool>("usable");
    QTest::newRow("a pixel too narrow") << QRect(10, 20, 938, 664) << false;
    QTest::newRow("a pixel too low") << QRect(10, 20, 939, 663) << false;
    QTest::newRow("larger than the screen") << QRect(0, 0, 3000, 2000) << true;
    QTest::newRow("on the second screen") << QRect(2500, 100, 939, 664) << true;
    QTest::newRow("in the gap below the second screen") << QRect(2500, 900, 939, 664) << false;
    QTest::newRow("100 x 40 seen at the bottom right")
        << QRect(1820, 1040, 939, 664) << true; // the second screen stops at 900
    QTest::newRow("99 pixels seen") << QRect(1821, 1000, 939, 664) << false;
    QTest::newRow("39 pixels seen") << QRect(-839, 1041, 939, 664) << false;
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
    // bytes: what the first run wrote; none: it was moved, resized and maximised.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("maximised"); // else the default size comes back
    QTest::newRow("maximised") << QByteArray() << true;
    QTest::newRow("off every screen") << geometryOf({1000, 700}, {4000, 3000}) << false;
    QTest::newRow("not a geometry") << QByteArray("\x01\xd9\xd0\xcb\x00\x09", 6) << false;
}

void TestWindowSize::rememberedAcrossRuns()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, maximised);
    QTemporaryDir home;
    const QString file = home.filePath(u"Tarvelo.conf"_s);
    if (!bytes.isEmpty()) {
        QVERIFY(SettingsStore(file).save({.windowGeometry = bytes}));
    } else {
        WindowFixture run;
        run.session->startUp();
        run.window().setGeometry(QRect(60, 70, 1200, 900));
        run.window().setWindowState(Qt::WindowMaximized);
        QVERIFY(run.showActive());
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
    QCOMPARE(shown, maximised ? QRect(60, 70, 1200, 900)
                              : QRect(shown.topLeft(), MainWindow::defaultSize()));
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
