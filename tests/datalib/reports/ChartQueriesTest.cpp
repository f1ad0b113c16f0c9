#include "datalib/reports/ReportFixture.h"

namespace {

class ChartQueriesTest : public ReportFixture {};

// Each listed day counts from its local midnight to its last whole second, like the tables.
TEST_F(ChartQueriesTest, CountsFollowTheDayBoundsInTheListsOrder)
{
    addNamed("2026-06-09T00:00:00", QStringLiteral("Write"));
    addGeneric("2026-06-09T23:59:59");
    addNamed("2026-06-09T23:59:59.5", QStringLiteral("Write"));
    addNamed("2026-06-10T00:00:00", QStringLiteral("Write"));
    addGeneric("2026-06-11T00:00:00");

    const QList<Date> days = {day("2026-06-10T12:00:00"), day("2026-06-09T18:00:00")};
    EXPECT_EQ(store->tasksFinishedPerDay(days), (QList<int>{1, 2}));
    EXPECT_EQ(store->executionsPerDay(QStringLiteral("Write"), days), (QList<int>{1, 1}));
    EXPECT_EQ(store->executionsPerDay(QStringLiteral("Task"), days), (QList<int>{0, 1}));
    EXPECT_EQ(store->executionsPerDay(QStringLiteral("Nobody"), days), (QList<int>{0, 0}));
    EXPECT_TRUE(store->tasksFinishedPerDay({}).isEmpty());
}

// The old per-day count matches only a stored name, which catalogued tasks do not have.
TEST_F(ChartQueriesTest, CatalogedTasksCountByTheirTasksName)
{
    addNamed("2026-06-09T09:00:00", QStringLiteral("Write"));
    addNamed("2026-06-09T10:00:00", QStringLiteral("Write"));
    EXPECT_EQ(store->executions(QStringLiteral("Write"), day("2026-06-09T12:00:00")), 0);
    EXPECT_EQ(store->executionsPerDay(QStringLiteral("Write"), {day("2026-06-09T12:00:00")}),
              QList<int>{2});
}

} // namespace
