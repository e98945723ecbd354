#include "core/campaign/VersionOrder.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

class TestVersionOrder : public QObject
{
    Q_OBJECT
private slots:
    void older_data();
    void older();
    void newest_data();
    void newest();
};

void TestVersionOrder::older_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("older");
    const auto row = [](const char *name, const QString &sent, const QString &current, bool older) {
        QTest::newRow(name) << sent << current << older;
    };
    row("same", u"1.2"_s, u"1.2"_s, false);
    row("numbers, not text", u"1.9"_s, u"1.10"_s, true);
    row("newer sent", u"1.10"_s, u"1.9"_s, false);
    row("missing part is zero", u"2"_s, u"2.0"_s, false);
    row("more parts newer", u"2"_s, u"2.0.1"_s, true);
    row("leading zeros", u"1.05"_s, u"1.5"_s, false);
    row("blanks around", u" 1.2 "_s, u"1.3"_s, true);
    row("numbers beyond int", u"1.4294967296"_s, u"1.4294967297"_s, true);
    row("blank current", u"1.0"_s, u"  "_s, false);
    row("empty sent", QString(), u"1.0"_s, true);
    row("text, different even when later", u"2.0-rc1"_s, u"1.0"_s, true);
    row("text, same", u"1.0 beta"_s, u"1.0 beta"_s, false);
    row("empty part", u"1..2"_s, u"1.2"_s, true);
    row("signed part", u"+1.2"_s, u"1.2"_s, true);
}

void TestVersionOrder::older()
{
    QFETCH(QString, sent);
    QFETCH(QString, current);
    QFETCH(bool, older);
    QCOMPARE(isOlderVersion(sent, current), older);
}

void TestVersionOrder::newest_data()
{
    // Versions most recent first, as the store lists them.
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QString>("newest");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("numbers") << QStringList({u"1.2"_s, u"1.10"_s, u"1.9"_s}) << u"1.10"_s;
    QTest::newRow("text: the most recent") << QStringList({u"beta"_s, u"2.0"_s}) << u"beta"_s;
    QTest::newRow("text after numbers") << QStringList({u"1.0"_s, u"rc"_s, u"1.1"_s}) << u"1.1"_s;
}

void TestVersionOrder::newest()
{
    QFETCH(QStringList, versions);
    QFETCH(QString, newest);
    QCOMPARE(newestVersion(versions), newest);
}

QTEST_GUILESS_MAIN(TestVersionOrder)
#include "tst_versionorder.moc"
