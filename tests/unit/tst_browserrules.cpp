// The browser's small rules: the progress marks, the window title and the
// order of the site list.
#include "core/browser/SiteDirectory.h"
#include "core/browser/StatusFeedback.h"

#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestBrowserRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void progressMarks_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("marks"); // -1: the caption stays as it is
        const int rows[][3] = {{0, 100, 0},    {10, 100, 0},   {11, 100, 2},   {20, 100, 2},
                               {21, 100, 3},   {100, 100, 10}, {101, 100, -1}, {105, 1000, 0},
                               {115, 1000, 2}, {-50, -100, 5}, {50, 0, 0},     {INT_MAX, 100, 0},
                               {-1, 100, 0}};
        for (const auto &row : rows)
            QTest::addRow("%d of %d", row[0], row[1]) << row[0] << row[1] << row[2];
    }
    void progressMarks()
    {
        QFETCH(int, progress);
        QFETCH(int, maximum);
        QFETCH(int, marks);
        const auto caption = StatusFeedback::progressCaption(progress, maximum);
        QCOMPARE(caption.has_value(), marks >= 0);
        if (caption)
            QCOMPARE(*caption, QString(marks, u'#'));
    }
    void titleAndOrder()
    {
        QCOMPARE(StatusFeedback::windowTitle({}), u"Tarvelo"_s);
        QCOMPARE(StatusFeedback::windowTitle(u"Submit"_s), u"Submit - Tarvelo"_s);
        // Case does not count, and neither do hyphens, on either side.
        QVERIFY(siteOrderLess(u"ab"_s, u"a-c"_s) && siteOrderLess(u"a-b"_s, u"AC"_s));
        QVERIFY(!siteOrderLess(u"a-b"_s, u"AB"_s) && !siteOrderLess(u"AB"_s, u"a-b"_s));
    }
};

QTEST_GUILESS_MAIN(TestBrowserRules)
#include "tst_browserrules.moc"
