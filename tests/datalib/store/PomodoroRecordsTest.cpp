#include <algorithm>

#include "datalib/store/StoreFixture.h"
#include "store/PomodoroList.h"

#include <sqlite3.h>

#include <QFile>

namespace {

class PomodoroRecordsTest : public StoreFixture {};

struct DayBoundCase {
    const char* name;
    const char* start;
    bool belongsToJune10;
};

TEST_F(PomodoroRecordsTest, DayQueriesIncludeBothEndsOfTheDay)
{
    const DayBoundCase cases[] = {
        {"previous evening", "2026-06-09T23:59:59", false},
        {"midnight", "2026-06-10T00:00:00", true},
        {"noon", "2026-06-10T12:00:00", true},
        {"last second", "2026-06-10T23:59:59", true},
        {"half a second later", "2026-06-10T23:59:59.5", false},
        {"next midnight", "2026-06-11T00:00:00", false},
    };
    for (const auto& c : cases)
        store->addTask(task(c.start));

    const auto june10 = store->pomodorosForDate(day("2026-06-10T15:00:00"));
    ASSERT_TRUE(june10.has_value());
    for (const auto& c : cases) {
        const bool found = std::any_of(june10->begin(), june10->end(), [&](const Pomodoro& p) {
            return p.startTime == at(c.start);
        });
        EXPECT_EQ(found, c.belongsToJune10) << c.name;
    }
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T08:00:00")), 3);
    EXPECT_EQ(store->pomodoros(day("2026-06-09T10:00:00"), day("2026-06-11T10:00:00"))->size(), 6);
}

TEST_F(PomodoroRecordsTest, DaylightSavingDaysKeepTheirOwnHours)
{
    // 2026-10-25 has 25 hours in Madrid, 2026-03-29 has 23.
    store->addTask(task("2026-10-25T23:30:00"));
    store->addTask(task("2026-10-26T00:00:00"));
    store->addTask(task("2026-03-29T23:30:00"));
    store->addTask(task("2026-03-30T00:00:00"));

    EXPECT_EQ(store->tasksFinished(day("2026-10-25T12:00:00")), 1);
    EXPECT_EQ(store->tasksFinished(day("2026-10-26T12:00:00")), 1);
    EXPECT_EQ(store->tasksFinished(day("2026-03-29T12:00:00")), 1);
    EXPECT_EQ(store->tasksFinished(day("2026-03-30T12:00:00")), 1);
}

TEST_F(PomodoroRecordsTest, UncataloguedTaskStoresTheGenericName)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Read")));
    store->addTask(task("2026-06-10T10:00:00", 1200, 600, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T11:00:00"));

    auto rows = *store->pomodorosForDate(day("2026-06-10T12:00:00"));
    std::sort(rows.begin(), rows.end());
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].taskName, QStringLiteral("Task"));
    EXPECT_FALSE(rows[0].hasTaskInfo);
    EXPECT_EQ(rows[1].taskName, std::nullopt);
    EXPECT_TRUE(rows[1].hasTaskInfo);
    EXPECT_EQ(rows[1].taskInfoName, QStringLiteral("Write"));
    EXPECT_EQ(rows[1].duration, 1200);
    EXPECT_EQ(rows[1].freeTimeDuration, 600);
    EXPECT_EQ(rows[1].endTime, at("2026-06-10T10:00:00") + 1200);
    EXPECT_EQ(rows[2].taskName, QStringLiteral("Task"));

    EXPECT_EQ(*PomodoroList::taskNames(rows),
              QStringList({QStringLiteral("Task"), QStringLiteral("Task")}));
    EXPECT_EQ(store->executions(QStringLiteral("Write")), 1);
    EXPECT_EQ(store->executions(QStringLiteral("Write"), day("2026-06-10T12:00:00")), 0);
    EXPECT_EQ(store->executions(QStringLiteral("Task"), day("2026-06-10T12:00:00")), 2);
    EXPECT_EQ(store->timeDedicated(QStringLiteral("Write")), 1200);
    EXPECT_EQ(store->timeDedicated(QStringLiteral("Nobody")), 0);
}

TEST_F(PomodoroRecordsTest, QueriesByTaskAndDistinctStartTimes)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-12T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T09:00:00"));
    store->addTask(task("2026-06-11T09:00:00"));

    const auto named = *store->pomodoros(QStringLiteral("Write"));
    ASSERT_EQ(named.size(), 2);
    EXPECT_LT(named[0].startTime, named[1].startTime);

    const auto dates = *store->dates();
    ASSERT_EQ(dates.size(), 3);
    EXPECT_EQ(dates[0], day("2026-06-10T09:00:00"));
    EXPECT_EQ(dates[1], day("2026-06-11T09:00:00"));
    EXPECT_EQ(dates[2], day("2026-06-12T09:00:00"));
}

TEST_F(PomodoroRecordsTest, RelinkAndDeleteNeedExactlyOneRowAtThatInstant)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00"));
    store->addTask(task("2026-06-10T10:00:00"));
    store->addTask(task("2026-06-10T10:00:00"));

    store->updatePomodoroName(QStringLiteral("Write"), day("2026-06-10T09:00:00"));
    store->updatePomodoroName(QStringLiteral("Write"), day("2026-06-10T10:00:00"));
    store->updatePomodoroName(QStringLiteral("Nobody"), day("2026-06-10T09:00:00"));
    const auto linked = *store->pomodoros(QStringLiteral("Write"));
    ASSERT_EQ(linked.size(), 1);
    EXPECT_EQ(linked[0].startTime, at("2026-06-10T09:00:00"));
    // Relinking keeps the stored name.
    EXPECT_EQ(linked[0].taskName, QStringLiteral("Task"));

    store->deletePomodoro(day("2026-06-10T10:00:00"));
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 3);
    store->deletePomodoro(day("2026-06-10T09:00:00"));
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 2);
    EXPECT_FALSE(store->hasChanges());
}

TEST_F(PomodoroRecordsTest, RemoteChangesApplyByCloudIdentity)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#f72020")),
                       QStringLiteral("T1"));
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Read"), QStringLiteral("#ffa044")),
                       QStringLiteral("T2"));
    store->addTask(task("2026-06-10T09:00:00"), QStringLiteral("P1"), QStringLiteral("T1"));
    store->addTask(task("2026-06-10T10:00:00"), QStringLiteral("P2"), QStringLiteral("missing"));
    store->addTask(task("2026-06-10T11:00:00"), QStringLiteral("P3"), std::nullopt);
    EXPECT_TRUE(cloud->calls().isEmpty());

    auto rows = *store->pomodorosForDate(day("2026-06-10T12:00:00"));
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows[0].taskInfoName, QStringLiteral("Write"));
    EXPECT_EQ(rows[0].taskInfoCloudRecordID, QStringLiteral("T1"));
    EXPECT_EQ(rows[0].cloudRecordID, QStringLiteral("P1"));
    EXPECT_EQ(rows[1].taskName, QStringLiteral("Task"));
    EXPECT_EQ(rows[2].taskName, QStringLiteral("Task"));

    store->updateTask(QStringLiteral("T2"), QStringLiteral("P1"));
    EXPECT_EQ(store->pomodoros(QStringLiteral("Read"))->size(), 1);
    store->deletePomodoro(QStringLiteral("P2"));
    store->deletePomodoro(QStringLiteral("unknown"));
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 2);
    EXPECT_TRUE(cloud->calls().isEmpty());
}

TEST_F(PomodoroRecordsTest, LinksMadeInOneSaveAreCommittedTogetherAtItsEnd)
{
    store->addTask(task("2026-06-10T09:00:00"));
    store->addTask(task("2026-06-10T10:00:00"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(storePath()).constData(), &other), SQLITE_OK);
    const auto linkedElsewhere = [other] {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(other, "SELECT count(cloudRecordID) FROM Pomodoro", -1, &statement,
                           nullptr);
        const int count =
            sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
        sqlite3_finalize(statement);
        return count;
    };

    int seenInside = -1;
    store->saveOnce([&] {
        store->updatePomodoro(QStringLiteral("P1"), Date(at("2026-06-10T09:00:00")));
        store->updatePomodoro(QStringLiteral("P2"), Date(at("2026-06-10T10:00:00")));
        seenInside = linkedElsewhere();
    });
    EXPECT_EQ(seenInside, 0);
    EXPECT_EQ(linkedElsewhere(), 2);
    EXPECT_FALSE(store->hasChanges());
    sqlite3_close(other);
}

TEST_F(PomodoroRecordsTest, ListOperationsHonourTheirBounds)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00", 1000, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T10:00:00", 200));
    store->addTask(task("2026-06-10T11:00:00", 30, 300, QStringLiteral("Write")));
    auto rows = *store->pomodorosForDate(day("2026-06-10T12:00:00"));
    std::sort(rows.begin(), rows.end());
    const QString write = QStringLiteral("Write");

    EXPECT_EQ(PomodoroList::durationForTask(rows, write, 0, 3), 1030);
    EXPECT_EQ(PomodoroList::durationForTask(rows, write, 1, 3), 30);
    EXPECT_EQ(PomodoroList::durationForTask(rows, write, 0, 4), std::nullopt);
    EXPECT_EQ(PomodoroList::durationForTask(rows, write, -1, 2), std::nullopt);
    EXPECT_EQ(PomodoroList::countForTask(rows, write, 0, 3), 2);
    EXPECT_EQ(PomodoroList::countForTask(rows, write, 0, 0), 0);
    EXPECT_EQ(PomodoroList::countForTask(rows, write, 0, 4), std::nullopt);
}

TEST_F(PomodoroRecordsTest, FailedQueriesAnswerAbsentOrZeroAndSayWhy)
{
    store->addTask(task("2026-06-10T09:00:00"));
    // Break the schema under the store's feet.
    store->pomodorosForDate(day("2026-06-10T12:00:00"));
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(storePath()).constData(), &db);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE Pomodoro", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    consoleLines.clear();

    EXPECT_EQ(store->pomodorosForDate(day("2026-06-10T12:00:00")), std::nullopt);
    EXPECT_EQ(store->dates(), std::nullopt);
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 0);
    EXPECT_EQ(store->timeDedicated(QStringLiteral("Write")), 0);
    ASSERT_FALSE(consoleLines.isEmpty());
    EXPECT_TRUE(consoleLines.first().startsWith(QStringLiteral("Error: ")))
        << consoleLines.first().toStdString();
    EXPECT_FALSE(
        store->exportToCSV(env->root() + QStringLiteral("/day.csv"), day("2026-06-10T12:00:00")));
}

} // namespace
