#include "browser/StatusFeedback.h"

#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;
using tarvelo::StatusFeedback;

class TestStatusFeedback : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void percent_data();
    void percent();
    void caption_data();
    void caption();
    void captionAboveHundredLeavesBar_data();
    void captionAboveHundredLeavesBar();
    void windowTitle_data();
    void windowTitle();
};

void TestStatusFeedback::percent_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("percent");

    QTest::newRow("10.5 rounds down to even") << 21 << 200 << 10;
    QTest::newRow("11.5 rounds up to even") << 23 << 200 << 12;
    QTest::newRow("12.5 rounds down to even") << 25 << 200 << 12;
    QTest::newRow("-10.5 rounds to even") << -21 << 200 << -10;
    QTest::newRow("10.4 rounds down") << 52 << 500 << 10;
    QTest::newRow("10.6 rounds up") << 53 << 500 << 11;
    QTest::newRow("whole") << 100 << 100 << 100;
    QTest::newRow("maximum 0") << 50 << 0 << 0;
    QTest::newRow("nothing of nothing") << 0 << 0 << 0;
    QTest::newRow("largest hundredfold") << 21474836 << 21474836 << 100;
    QTest::newRow("hundredfold overflows") << 21474837 << 21474837 << 0;
    QTest::newRow("negative hundredfold fits") << -21474836 << 21474836 << -100;
    QTest::newRow("negative hundredfold overflows") << -21474837 << 1 << 0;
    QTest::newRow("INT_MIN") << INT_MIN << 100 << 0;
    QTest::newRow("INT_MAX") << INT_MAX << 100 << 0;
    QTest::newRow("negative maximum") << 50 << -100 << -50;
    QTest::newRow("both negative") << -50 << -100 << 50;
    QTest::newRow("quotient far beyond int") << 21474836 << 1 << 2147483600;
    QTest::newRow("tiny maximum fraction") << 1 << 3 << 33;
    QTest::newRow("end of load") << -1 << 100 << -1;
}

void TestStatusFeedback::percent()
{
    QFETCH(int, progress);
    QFETCH(int, maximum);
    QFETCH(int, percent);
    QCOMPARE(StatusFeedback::progressPercent(progress, maximum), percent);
}

void TestStatusFeedback::caption_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("caption");

    // every boundary of the table, as percent of 100
    const QList<std::pair<int, int>> bands{{11, 2}, {21, 3}, {31, 4}, {41, 5}, {51, 6},
                                           {61, 7}, {71, 8}, {81, 9}, {91, 10}};
    for (const auto &[from, marks] : bands) {
        const QString bar(marks, u'#');
        QTest::addRow("%d%%", from) << from << 100 << bar;
        QTest::addRow("%d%%", from + 9) << from + 9 << 100 << bar;
    }
    QTest::newRow("0%") << 0 << 100 << QString();
    QTest::newRow("10%") << 10 << 100 << QString();
    QTest::newRow("21/200 is 10.5, below the first step") << 21 << 200 << QString();
    QTest::newRow("23/200 is 11.5, first step") << 23 << 200 << u"##"_s;
    QTest::newRow("20.5 rounds to 20") << 41 << 200 << u"##"_s;
    QTest::newRow("end of load") << -1 << 100 << QString();
    QTest::newRow("maximum 0") << 50 << 0 << QString();
    QTest::newRow("overflow") << 21474837 << 100 << QString();
    QTest::newRow("overflow whatever the maximum") << 21474837 << INT_MAX << QString();
    QTest::newRow("INT_MIN") << INT_MIN << INT_MIN << QString();
    QTest::newRow("negative maximum") << 50 << -100 << QString();
    QTest::newRow("both negative") << -95 << -100 << u"##########"_s;
    QTest::newRow("100.4 rounds to 100") << 251 << 250 << u"##########"_s;
}

void TestStatusFeedback::caption()
{
    QFETCH(int, progress);
    QFETCH(int, maximum);
    QFETCH(QString, caption);
    const std::optional<QString> shown = StatusFeedback::progressCaption(progress, maximum);
    QVERIFY(shown.has_value());
    QCOMPARE(*shown, caption);
}

void TestStatusFeedback::captionAboveHundredLeavesBar_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("maximum");

    QTest::newRow("101%") << 101 << 100;
    QTest::newRow("150%") << 150 << 100;
    QTest::newRow("100.6 rounds to 101") << 503 << 500;
    QTest::newRow("huge quotient") << 21474836 << 1;
}

void TestStatusFeedback::captionAboveHundredLeavesBar()
{
    QFETCH(int, progress);
    QFETCH(int, maximum);
    QCOMPARE(StatusFeedback::progressCaption(progress, maximum), std::nullopt);
}

void TestStatusFeedback::windowTitle_data()
{
    QTest::addColumn<QString>("pageTitle");
    QTest::addColumn<QString>("caption");

    QTest::newRow("empty") << QString() << u"Tarvelo"_s;
    QTest::newRow("help page") << u"First things first"_s << u"First things first - Tarvelo"_s;
    QTest::newRow("blank kept") << u" "_s << u"  - Tarvelo"_s;
}

void TestStatusFeedback::windowTitle()
{
    QFETCH(QString, pageTitle);
    QFETCH(QString, caption);
    QCOMPARE(StatusFeedback::windowTitle(pageTitle), caption);
}

QTEST_GUILESS_MAIN(TestStatusFeedback)
#include "tst_statusfeedback.moc"
