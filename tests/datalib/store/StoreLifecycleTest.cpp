#include <functional>
#include <utility>

#include <sqlite3.h>

#include <QFile>

#include "datalib/store/StoreFixture.h"

namespace {

class StoreLifecycleTest : public StoreFixture {};

// Keeps the header page (with the schema) and overwrites every other page of the file.
void corruptEveryPageButTheFirst(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    ASSERT_GT(size, 3 * 4096);
    file.seek(4096);
    file.write(QByteArray(size - 4096, '\xA5'));
}

TEST_F(StoreLifecycleTest, NoOperationKeepsTheWriteLockOnceItEnds)
{
    store->addTask(task("2026-06-10T09:00:00"));
    addTaskInfo(QStringLiteral("A"));
    addTaskInfo(QStringLiteral("B"));
    store->updatePomodoroName(QStringLiteral("B"), day("2026-06-10T09:00:00"));
    // Two tasks named "A"; the pomodoro belongs to the second.
    store->updateTaskInfo(QStringLiteral("B"), QStringLiteral("A"));

    const std::pair<const char*, std::function<void()>> operations[] = {
        {"deleteTaskInfo(named:) unlinking the other task's pomodoros",
         [&] { store->deleteTaskInfo(QStringLiteral("A")); }},
        {"addTaskInfo(_:) of a name that exists", [&] { addTaskInfo(QStringLiteral("A")); }},
        {"updateTaskInfo(named:with:) of no task",
         [&] { store->updateTaskInfo(QStringLiteral("None"), QStringLiteral("Other")); }},
        {"updatePomodoro(cloudRecordID:startedAt:) of no row",
         [&] { store->updatePomodoro(QStringLiteral("P1"), day("2026-06-10T07:00:00")); }},
        {"deletePomodoro(startedAt:) of no row",
         [&] { store->deletePomodoro(day("2026-06-10T07:00:00")); }},
        {"updateSession(cloudRecordID:finishedAt:) of no row",
         [&] { store->updateSession(QStringLiteral("S1"), day("2026-06-10T07:00:00")); }},
        {"migrateToTaskInfo()", [&] { store->migrateToTaskInfo(); }},
        {"truncateAll()", [&] { store->truncateAll(); }},
    };
    for (const auto& [name, operation] : operations) {
        operation();
        EXPECT_FALSE(store->hasChanges()) << name;
        // Another process, which does not wait at all, can write at once.
        sqlite3* other = nullptr;
        sqlite3_open(QFile::encodeName(storePath()).constData(), &other);
        EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; COMMIT", nullptr, nullptr, nullptr),
                  SQLITE_OK)
            << name << ": " << sqlite3_errmsg(other);
        sqlite3_close(other);
    }
}

TEST_F(StoreLifecycleTest, DeletingATaskNameSavesTheUnlinkOfItsPomodoros)
{
    store->addTask(task("2026-06-10T09:00:00"));
    addTaskInfo(QStringLiteral("A"));
    addTaskInfo(QStringLiteral("B"));
    store->updatePomodoroName(QStringLiteral("B"), day("2026-06-10T09:00:00"));
    store->updateTaskInfo(QStringLiteral("B"), QStringLiteral("A"));
    // Deletes the first "A" and unlinks the pomodoro of the second.
    store->deleteTaskInfo(QStringLiteral("A"));
    EXPECT_FALSE(store->hasChanges());

    DataController other(env->dataDirectory());
    EXPECT_TRUE(other.pomodoros(QStringLiteral("A"))->isEmpty());
    EXPECT_EQ(other.taskNames(), QStringList({QStringLiteral("A")}));
    // Nothing is left for a reset to take back.
    store->resetContext();
    EXPECT_TRUE(store->pomodoros(QStringLiteral("A"))->isEmpty());
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

TEST_F(StoreLifecycleTest, QueryOnCorruptPagesIsTheLastError)
{
    {
        sqlite3* db = nullptr;
        store->addTask(task("2026-06-10T09:00:00"));
        sqlite3_open(QFile::encodeName(storePath()).constData(), &db);
        ASSERT_EQ(sqlite3_exec(db,
                               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                               "WHERE i < 3000) INSERT INTO Pomodoro (startTime, duration) "
                               "SELECT i, 1500 FROM n",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    store.reset();
    corruptEveryPageButTheFirst(env->dataDirectory() + QStringLiteral("/Pomodoro.DataModel"));

    store = std::make_unique<DataController>(env->dataDirectory(), cloud);
    ASSERT_TRUE(store->open()) << store->lastError().value_or(QString()).toStdString();
    EXPECT_FALSE(store->lastError());
    EXPECT_EQ(store->stats().tasks, 0);
    const std::optional<QString> error = store->lastError();
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("malformed"))) << error->toStdString();
    // The next operation that goes well clears it.
    EXPECT_TRUE(store->saveContext());
    EXPECT_FALSE(store->lastError());
}

} // namespace
