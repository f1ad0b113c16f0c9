#include <memory>

#include <sqlite3.h>

#include <QFile>

#include "datalib/store/FaultyVfs.h"
#include "datalib/store/RawSql.h"
#include "datalib/store/StoreFixture.h"

namespace {

// Saves that fail as on a full disk: the writes they held wait for the next save.
class SaveFailureTest : public StoreFixture {
protected:
    void SetUp() override
    {
        // Before the store opens, so that its connection goes through the faulty disk.
        vfs = std::make_unique<FaultyVfs>();
        StoreFixture::SetUp();
        // Made while there is room: a store that cannot be made at all is another matter.
        ASSERT_TRUE(store->open());
    }

    void TearDown() override
    {
        StoreFixture::TearDown();
        vfs.reset();
    }

    // Another process's view of the file, on the real disk.
    int otherCount(const char* sql) const { return RawSql::queryInt(storePath(), sql); }

    void otherExec(const char* sql) const { ASSERT_EQ(RawSql::exec(storePath(), sql), QString()); }

    std::unique_ptr<FaultyVfs> vfs;
};

TEST_F(SaveFailureTest, PomodoroOfAFullDiskIsStoredByTheFirstSaveAfterSpaceIsFreed)
{
    addTaskInfo(QStringLiteral("Write"));
    vfs->setDiskFull(true);
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));

    EXPECT_GT(vfs->refusedWrites(), 0);
    const std::optional<QString> error = store->lastError();
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("full"))) << error->toStdString();
    EXPECT_TRUE(consoleLines.contains(QStringLiteral("err @ CORE DATA CONTEXT saveContext()")));
    EXPECT_TRUE(store->hasChanges());
    EXPECT_FALSE(store->saveContext());
    EXPECT_TRUE(store->hasChanges());
    EXPECT_EQ(otherCount("SELECT count(*) FROM Pomodoro"), 0);
    EXPECT_FALSE(store->extensionData());

    vfs->setDiskFull(false);
    EXPECT_TRUE(store->saveContext());
    EXPECT_FALSE(store->hasChanges());
    EXPECT_FALSE(store->lastError());
    EXPECT_EQ(otherCount("SELECT count(*) FROM Pomodoro p JOIN TaskInfo t ON t.id = p.taskInfo "
                         "WHERE t.name = 'Write' AND p.duration = 1500"),
              1);
    // The save that stored it also rewrote the Today summary.
    const auto summary = store->extensionData();
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->value("ExtensionTaskCount").toInt(), 1);
}

TEST_F(SaveFailureTest, WritesOfSeveralFailedSavesGoOutWithTheNextOperation)
{
    vfs->setDiskFull(true);
    store->addSession(at("2026-06-10T10:00:00"), 4);
    store->addGoal(at("2026-06-10T10:30:00"), 8);
    store->addTask(task("2026-06-10T09:00:00"));
    EXPECT_EQ(otherCount("SELECT count(*) FROM Session"), 0);

    vfs->setDiskFull(false);
    store->addSession(at("2026-06-10T11:00:00"), 2);
    EXPECT_FALSE(store->lastError());
    EXPECT_FALSE(store->hasChanges());
    EXPECT_EQ(store->sessionsFinished(day("2026-06-10T12:00:00")), 2);
    EXPECT_EQ(store->goals(day("2026-06-10T12:00:00"), day("2026-06-10T12:00:00"))->size(), 1);
    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 1);
}

TEST_F(SaveFailureTest, WriteThatRunsAgainFollowsARowInsertedUnderAnotherIdentifier)
{
    vfs->setDiskFull(true);
    addTaskInfo(QStringLiteral("New"));
    // Sees the new task (the failed save's writes run again first) and links to it.
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("New")));
    ASSERT_TRUE(store->hasChanges());

    vfs->setDiskFull(false);
    // Meanwhile another process takes the identifier the new task had.
    otherExec("INSERT INTO TaskInfo (name, color) VALUES ('Other', '#000000')");
    EXPECT_TRUE(store->saveContext());

    EXPECT_EQ(store->executions(QStringLiteral("New")), 1);
    EXPECT_EQ(store->executions(QStringLiteral("Other")), 0);
    EXPECT_EQ(store->taskNames(), QStringList({QStringLiteral("New"), QStringLiteral("Other")}));
}

TEST_F(SaveFailureTest, PendingPomodoroOfATaskDeletedMeanwhileIsKeptUnlinked)
{
    addTaskInfo(QStringLiteral("Write"));
    vfs->setDiskFull(true);
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));

    vfs->setDiskFull(false);
    otherExec("DELETE FROM TaskInfo WHERE name = 'Write'");
    EXPECT_TRUE(store->saveContext());
    const auto pomodoros = store->pomodorosForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(pomodoros);
    ASSERT_EQ(pomodoros->size(), 1);
    EXPECT_FALSE(pomodoros->first().hasTaskInfo);
    EXPECT_EQ(pomodoros->first().duration, 1500);
}

TEST_F(SaveFailureTest, ResetDiscardsTheWritesOfAFailedSave)
{
    vfs->setDiskFull(true);
    store->addSession(at("2026-06-10T10:00:00"), 4);
    ASSERT_TRUE(store->hasChanges());
    store->resetContext();
    EXPECT_FALSE(store->hasChanges());

    vfs->setDiskFull(false);
    store->addGoal(at("2026-06-10T11:00:00"), 8);
    EXPECT_EQ(store->stats().sessions, 0);
    EXPECT_EQ(store->stats().goals, 1);
}

} // namespace
