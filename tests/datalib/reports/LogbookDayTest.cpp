#include <gtest/gtest.h>

#include <QCoreApplication>

#include "datalib/store/StoreFixture.h"
#include "reports/LogbookDay.h"
#include "reports/LogbookLoader.h"

namespace {

using Kind = LogbookRow::Kind;

class LogbookDayTest : public StoreFixture {
protected:
    LogbookDay load(const char* dayLocal = "2026-06-10T12:00:00")
    {
        return LogbookDay(LogbookDay::read(*store, day(dayLocal)));
    }

    static QList<Kind> kinds(const LogbookDay& logbook)
    {
        QList<Kind> result;
        for (const LogbookRow& row : logbook.rows())
            result.append(row.kind);
        return result;
    }
};

TEST_F(LogbookDayTest, AnEmptyDayIsOneTallEmptyRowWithNothingToReport)
{
    // Records of the days around do not leak in.
    store->addTask(task("2026-06-09T23:59:59"));
    store->addSession(at("2026-06-11T00:00:00"), 4);

    const LogbookDay logbook = load();
    ASSERT_EQ(kinds(logbook), QList<Kind>{Kind::Empty});
    EXPECT_EQ(logbook.rows().first().height, 400);
    EXPECT_FALSE(logbook.rows().first().order);
    EXPECT_FALSE(logbook.hasPomodoros());
}

TEST_F(LogbookDayTest, OnlyASessionShowsTheSessionAndTheStartButNothingToReport)
{
    store->addSession(at("2026-06-10T11:00:00"), 4);

    const LogbookDay logbook = load();
    ASSERT_EQ(kinds(logbook), (QList<Kind>{Kind::Session, Kind::Start}));
    EXPECT_EQ(logbook.rows().at(0).tasksCount, 4);
    EXPECT_EQ(logbook.rows().at(0).height, 100);
    EXPECT_EQ(logbook.rows().at(1).startTime, at("2026-06-10T11:00:00"));
    EXPECT_EQ(logbook.rows().at(1).height, 100);
    EXPECT_FALSE(logbook.hasPomodoros());
}

TEST_F(LogbookDayTest, RunningTotalsFollowTheRecordedOrderAndShowNewestFirst)
{
    addTaskInfo(QStringLiteral("A"));
    addTaskInfo(QStringLiteral("B"));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("A")));
    store->addTask(task("2026-06-10T09:30:00", 150, 300, QStringLiteral("B")));
    store->addTask(task("2026-06-10T10:00:00", 1200, 300, QStringLiteral("A")));
    store->addGoal(at("2026-06-10T10:20:00"), 3);
    store->addSession(at("2026-06-10T09:55:00"), 2);

    const LogbookDay logbook = load();
    ASSERT_EQ(kinds(logbook), (QList<Kind>{Kind::Goal, Kind::Task, Kind::Session, Kind::Task,
                                           Kind::Task, Kind::Start}));
    const QList<LogbookRow>& rows = logbook.rows();
    EXPECT_EQ(rows.at(0).goal, 3);
    EXPECT_EQ(rows.at(1).taskName, QStringLiteral("A"));
    EXPECT_EQ(rows.at(1).iterations, 2);
    EXPECT_EQ(rows.at(1).totalTime, 2700);
    EXPECT_EQ(*rows.at(1).order, at("2026-06-10T10:00:00"));
    EXPECT_EQ(rows.at(2).tasksCount, 2);
    EXPECT_EQ(rows.at(3).taskName, QStringLiteral("B"));
    EXPECT_EQ(rows.at(3).iterations, 1);
    EXPECT_EQ(rows.at(3).totalTime, 150);
    EXPECT_EQ(rows.at(4).taskName, QStringLiteral("A"));
    EXPECT_EQ(rows.at(4).iterations, 1);
    EXPECT_EQ(rows.at(4).totalTime, 1500);
    EXPECT_TRUE(logbook.hasPomodoros());
}

TEST_F(LogbookDayTest, TheStartRowTellsWhenTheFirstRecordBegan)
{
    store->addTask(task("2026-06-10T14:00:00"));
    store->addTask(task("2026-06-10T08:15:00"));
    store->addTask(task("2026-06-10T11:00:00"));

    const LogbookDay logbook = load();
    ASSERT_EQ(logbook.rows().constLast().kind, Kind::Start);
    EXPECT_FALSE(logbook.rows().constLast().order);
    EXPECT_EQ(logbook.rows().constLast().startTime, at("2026-06-10T08:15:00"));
    EXPECT_EQ(*logbook.rows().first().order, at("2026-06-10T14:00:00"));
}

TEST_F(LogbookDayTest, AnIntervalWithoutATaskIsUndefined)
{
    // Not in the catalogue: stored under the generic name, with no task linked.
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Nowhere")));

    const LogbookDay logbook = load();
    ASSERT_EQ(kinds(logbook), (QList<Kind>{Kind::Task, Kind::Start}));
    EXPECT_EQ(logbook.rows().first().taskName, QStringLiteral("Undefined task"));
    EXPECT_EQ(logbook.rows().first().iterations, 0);
    EXPECT_EQ(logbook.rows().first().totalTime, 0);
    EXPECT_TRUE(logbook.hasPomodoros());
}

class LogbookLoaderTest : public LogbookDayTest {
protected:
    void SetUp() override
    {
        LogbookDayTest::SetUp();
        loader = std::make_unique<LogbookLoader>(*store);
        // Jobs wait here, so a test decides which reload finishes first.
        loader->setExecutor([this](std::function<void()> job) { jobs.append(std::move(job)); });
    }
    void TearDown() override
    {
        loader.reset();
        LogbookDayTest::TearDown();
    }

    static void record(LogbookLoader& from, QList<QPair<Date, LogbookDay>>& into)
    {
        QObject::connect(&from, &LogbookLoader::loaded, &from,
                         [&into](Date day, const LogbookDay& logbook) {
                             into.append({day, logbook});
                         });
    }

    std::unique_ptr<LogbookLoader> loader;
    QList<std::function<void()>> jobs;
    QList<QPair<Date, LogbookDay>> installed;
};

TEST_F(LogbookLoaderTest, AnOlderReloadFinishingLastIsDropped)
{
    store->addTask(task("2026-06-09T10:00:00"));
    store->addTask(task("2026-06-10T10:00:00"));
    store->addTask(task("2026-06-10T11:00:00"));
    record(*loader, installed);

    loader->reload(day("2026-06-09T12:00:00"));
    loader->reload(day("2026-06-10T12:00:00"));
    ASSERT_EQ(jobs.size(), 2);
    jobs.at(1)();
    jobs.at(0)();
    QCoreApplication::sendPostedEvents();

    ASSERT_EQ(installed.size(), 1);
    EXPECT_EQ(installed.at(0).first, day("2026-06-10T12:00:00"));
    EXPECT_EQ(installed.at(0).second.rows().size(), 3);
}

TEST_F(LogbookLoaderTest, ReadsOffTheMainThreadOnItsOwnPool)
{
    store->addTask(task("2026-06-10T10:00:00"));
    auto real = std::make_unique<LogbookLoader>(*store);
    record(*real, installed);
    real->reload(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(processEventsUntil([this] { return !installed.isEmpty(); }));
    EXPECT_EQ(installed.at(0).second.rows().size(), 2);
}

} // namespace
