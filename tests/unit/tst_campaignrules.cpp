// Which site keypad + opens, when a site is offered as dead, and the counts
// behind the progress bar.
#include "core/campaign/CampaignRules.h"
#include "core/campaign/DeadSiteRule.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tarvelo;

using States = QHash<qint64, StateRecord>;
using Checks = QList<CheckRecord>;
using OptionalId = std::optional<qint64>;

namespace {

States states(std::initializer_list<std::pair<qint64, SiteState>> pairs)
{
    States result;
    for (const auto &[id, state] : pairs) {
        StateRecord record;
        record.state = state;
        result.insert(id, record);
    }
    return result;
}

CheckRecord check(const char *utc, bool ok)
{
    return {QDateTime::fromString(QString::fromLatin1(utc), Qt::ISODate), ok, {}};
}

} // namespace

class TestCampaignRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nextSite_data()
    {
        QTest::addColumn<QList<qint64>>("ids");
        QTest::addColumn<States>("latest");
        QTest::addColumn<OptionalId>("selected");
        QTest::addColumn<OptionalId>("next");
        const QList<qint64> ids{10, 20, 30, 40};
        const States worked = states({{10, SiteState::Submitted},
                                      {20, SiteState::Skipped},
                                      {30, SiteState::Dead},
                                      {40, SiteState::Listed}});
        const auto row = [&](const char *name, const States &latest, OptionalId selected,
                             OptionalId next) {
            QTest::newRow(name) << ids << latest << selected << next;
        };
        row("no selection: first", {}, {}, 10);
        row("after the selection", {}, 20, 30);
        row("wraps from the last", {}, 40, 10);
        row("skips worked sites",
            states({{20, SiteState::Submitted},
                    {30, SiteState::Skipped},
                    {40, SiteState::Dead},
                    {10, SiteState::Rejected}}),
            10, {});
        States todoEntry = worked;
        todoEntry[20].state = SiteState::Todo;
        row("todo entry counts", todoEntry, 30, 20);
        States due = worked;
        due[40].state = SiteState::UpdateDue;
        row("update due", due, 10, 40);
        row("selected is the only one left", due, 40, 40);
        row("none left", worked, 20, {});
        row("selection not listed", {}, 99, 10);
        QTest::newRow("empty list") << QList<qint64>() << States() << OptionalId() << OptionalId();
    }
    void nextSite()
    {
        QFETCH(QList<qint64>, ids);
        QFETCH(States, latest);
        QFETCH(OptionalId, selected);
        QFETCH(OptionalId, next);
        QCOMPARE(nextSiteToOpen(ids, latest, selected), next);
    }

    void counts()
    {
        // 5 has a state but is no longer in use, so it does not count.
        const States latest = states({{1, SiteState::Submitted},
                                      {2, SiteState::Submitted},
                                      {3, SiteState::UpdateDue},
                                      {5, SiteState::Listed}});
        const auto counts = stateCounts({1, 2, 3, 4, 6}, latest);
        std::array<int, SiteStateCount> expected{};
        expected[size_t(SiteState::Todo)] = 2;
        expected[size_t(SiteState::Submitted)] = 2;
        expected[size_t(SiteState::UpdateDue)] = 1;
        QCOMPARE(counts, expected);
    }

    void dead_data()
    {
        QTest::addColumn<Checks>("checks");
        QTest::addColumn<bool>("dead");
        const auto failDay1 = check("2024-03-01T09:00:00Z", false);
        const auto failDay1Later = check("2024-03-01T23:59:59Z", false);
        const auto failDay2 = check("2024-03-02T00:00:00Z", false);
        const auto okDay1 = check("2024-03-01T12:00:00Z", true);
        const auto okDay3 = check("2024-03-03T08:00:00Z", true);
        QTest::newRow("no checks") << Checks() << false;
        QTest::newRow("same UTC day twice") << Checks{failDay1, failDay1Later} << false;
        QTest::newRow("two days") << Checks{failDay1Later, failDay2} << true;
        QTest::newRow("out of order, success before")
            << Checks{failDay2, failDay1Later, okDay1} << true;
        QTest::newRow("success in between") << Checks{failDay1, okDay1, failDay2} << false;
        QTest::newRow("success since") << Checks{failDay1, failDay2, okDay3} << false;
        // 23:30 and 01:30 at UTC+2 are one UTC day apart: 21:30 and 23:30 on the 1st.
        QTest::newRow("days are UTC days") << Checks{check("2024-03-01T23:30:00+02:00", false),
                                                     check("2024-03-02T01:30:00+02:00", false)}
                                           << false;
    }
    void dead()
    {
        QFETCH(Checks, checks);
        QFETCH(bool, dead);
        QCOMPARE(DeadSiteRule::offerAsDead(checks), dead);
    }
};

QTEST_GUILESS_MAIN(TestCampaignRules)
#include "tst_campaignrules.moc"
