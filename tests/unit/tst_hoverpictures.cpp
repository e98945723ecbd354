#include "filling/HoverPictures.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;
using Button = HoverPictures::Button;

namespace {

// Moves as the tests write them: B(ack), F(orward), S(top), R(efresh), and
// "-" for the window's background (or lstSites, or lblStatus).
HoverPictures::Changes move(HoverPictures &hover, QChar where)
{
    switch (where.unicode()) {
    case u'B':
        return hover.mouseMoveOverButton(Button::Back);
    case u'F':
        return hover.mouseMoveOverButton(Button::Forward);
    case u'S':
        return hover.mouseMoveOverButton(Button::Stop);
    case u'R':
        return hover.mouseMoveOverButton(Button::Refresh);
    default:
        return hover.mouseMoveOverBackground();
    }
}

// "B102 S105 R107": each change as the button's letter and the picture id.
QString describe(const HoverPictures::Changes &changes)
{
    QStringList parts;
    for (const auto &change : changes)
        parts.append(QString(u"BFSR"_s.at(int(change.button))) + QString::number(change.pictureId));
    return parts.join(u' ');
}

QString litButtons(const HoverPictures &hover)
{
    QString lit;
    for (Button b : {Button::Back, Button::Forward, Button::Stop, Button::Refresh}) {
        if (hover.isLit(b))
            lit += u"BFSR"_s.at(int(b));
    }
    return lit;
}

} // namespace

class TestHoverPictures : public QObject
{
    Q_OBJECT
private slots:
    void startUpShowsTheGreyPictures();
    void moves_data();
    void moves();
};

void TestHoverPictures::startUpShowsTheGreyPictures()
{
    HoverPictures hover;
    QCOMPARE(describe(hover.normalPictures()), u"B101 F103 S105 R107"_s);
    QCOMPARE(litButtons(hover), QString());
}

void TestHoverPictures::moves_data()
{
    QTest::addColumn<QString>("before"); // moves made first
    QTest::addColumn<QChar>("now");      // the move under test
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("lit");

    // The first move over each button after start lights it and nothing else.
    QTest::newRow("first over back") << u""_s << QChar(u'B') << u"B102"_s << u"B"_s;
    QTest::newRow("first over forward") << u""_s << QChar(u'F') << u"F104"_s << u"F"_s;
    QTest::newRow("first over stop") << u""_s << QChar(u'S') << u"S106"_s << u"S"_s;
    QTest::newRow("first over refresh") << u""_s << QChar(u'R') << u"R108"_s << u"R"_s;

    // Again over a lit button: its lit picture is shown again, nothing else.
    QTest::newRow("back again") << u"B"_s << QChar(u'B') << u"B102"_s << u"B"_s;

    // Onto the partner: the partner alone goes grey, after the new one lights.
    QTest::newRow("back to forward") << u"B"_s << QChar(u'F') << u"F104 B101"_s << u"F"_s;
    QTest::newRow("forward to back") << u"F"_s << QChar(u'B') << u"B102 F103"_s << u"B"_s;
    QTest::newRow("stop to refresh") << u"S"_s << QChar(u'R') << u"R108 S105"_s << u"R"_s;
    QTest::newRow("refresh to stop") << u"R"_s << QChar(u'S') << u"S106 R107"_s << u"S"_s;

    // Onto the other pair: both of the old pair go grey, even the unlit one.
    QTest::newRow("refresh to back") << u"R"_s << QChar(u'B') << u"B102 S105 R107"_s << u"B"_s;
    QTest::newRow("stop to forward") << u"S"_s << QChar(u'F') << u"F104 S105 R107"_s << u"F"_s;
    QTest::newRow("back to stop") << u"B"_s << QChar(u'S') << u"S106 B101 F103"_s << u"S"_s;
    QTest::newRow("forward to refresh") << u"F"_s << QChar(u'R') << u"R108 B101 F103"_s << u"R"_s;

    // Background: lit pairs go grey, pairs with nothing lit are left alone.
    QTest::newRow("background, nothing lit") << u""_s << QChar(u'-') << u""_s << u""_s;
    QTest::newRow("background, back lit") << u"B"_s << QChar(u'-') << u"B101 F103"_s << u""_s;
    QTest::newRow("background, stop lit") << u"S"_s << QChar(u'-') << u"S105 R107"_s << u""_s;
    QTest::newRow("background twice") << u"S-"_s << QChar(u'-') << u""_s << u""_s;
    QTest::newRow("background after the round")
        << u"BFSRB"_s << QChar(u'-') << u"B101 F103"_s << u""_s;
}

void TestHoverPictures::moves()
{
    QFETCH(QString, before);
    QFETCH(QChar, now);
    QFETCH(QString, changes);
    QFETCH(QString, lit);

    HoverPictures hover;
    hover.normalPictures();
    for (QChar where : before)
        move(hover, where);
    QCOMPARE(describe(move(hover, now)), changes);
    QCOMPARE(litButtons(hover), lit);
}

QTEST_GUILESS_MAIN(TestHoverPictures)
#include "tst_hoverpictures.moc"
