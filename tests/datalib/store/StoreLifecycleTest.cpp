#include <sqlite3.h>

#include <QFile>

#include "datalib/store/StoreFixture.h"

namespace {

class StoreLifecycleTest : public StoreFixture {};

TEST_F(StoreLifecycleTest, UnsavedChangesAreSeenAndCanBeDiscarded)
{
    store->addTask(task("2026-06-10T09:00:00"));
    EXPECT_FALSE(store->hasChanges());
    // A delete of a task's name leaves its unlinking pending until the next save.
    addTaskInfo(QStringLiteral("A"));
    addTaskInfo(QStringLiteral("B"));
    store->updatePomodoroName(QStringLiteral("B"), day("2026-06-10T09:00:00"));
    store->updateTaskInfo(QStringLiteral("B"), QStringLiteral("A"));
    // Deletes the first "A"; the pomodoro of the second "A" is unlinked but not saved.
    store->deleteTaskInfo(QStringLiteral("A"));
    EXPECT_TRUE(store->hasChanges());
    EXPECT_TRUE(store->pomodoros(QStringLiteral("A"))->isEmpty());

    store->resetContext();
    EXPECT_FALSE(store->hasChanges());
    EXPECT_EQ(store->pomodoros(QStringLiteral("A"))->size(), 1);
}

TEST_F(StoreLifecycleTest, TruncateKeepsTheCatalogue)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addSession(at("2026-06-10T10:00:00"), 4);
    store->addGoal(at("2026-06-10T11:00:00"), 12);

    store->truncateAll();
    const auto stats = store->stats();
    EXPECT_EQ(stats.tasks, 0);
    EXPECT_EQ(stats.sessions, 0);
    EXPECT_EQ(stats.goals, 0);
    EXPECT_TRUE(store->existsTaskInfo(QStringLiteral("Write")));
    EXPECT_EQ(store->executions(QStringLiteral("Write")), 0);
    EXPECT_FALSE(store->hasChanges());
}

TEST_F(StoreLifecycleTest, StatsCountEveryKindAndListActivityIdentities)
{
    store->addTask(task("2026-06-10T09:00:00"));
    store->addTask(task("2026-06-10T10:00:00"));
    store->addSession(at("2026-06-10T10:00:00"), 4);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(storePath()).constData(), &db);
    ASSERT_EQ(sqlite3_exec(db,
                           "INSERT INTO WorkActivity (name, startTime, endTime, cloudRecordID) "
                           "VALUES ('Mail', 1, 2, 'W1'), ('Chat', 3, 4, NULL);"
                           "INSERT INTO Thief (name, isActive) VALUES ('Chat', 1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    consoleLines.clear();

    const auto stats = store->stats();
    EXPECT_EQ(stats.tasks, 2);
    EXPECT_EQ(stats.sessions, 1);
    EXPECT_EQ(stats.goals, 0);
    EXPECT_EQ(stats.thieves, 1);
    EXPECT_EQ(stats.activities, 2);
    EXPECT_EQ(consoleLines,
              QStringList({QStringLiteral("iCloud ID: W1"), QStringLiteral("iCloud ID: nil")}));
}

} // namespace
