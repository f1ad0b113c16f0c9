#include <ostream>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include "datalib/store/StoreFixture.h"
#include "support/ManualClock.h"

namespace {

using Answer = RecordingCloudSync::Answer;

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// A second connection to the store file, as another process would have: it sees only
// what the store committed, and lets a test plant rows the API cannot create.
class RawConnection {
public:
    explicit RawConnection(const QString& path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~RawConnection() { sqlite3_close(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool exec(const QString& sql)
    {
        return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    long long scalar(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        long long value = -1;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }

private:
    sqlite3* m_db = nullptr;
};

class TaskCatalogueTest : public StoreFixture {
protected:
    long long taskInfoRows()
    {
        return RawConnection(storePath()).scalar("SELECT count(*) FROM TaskInfo");
    }

    // A task whose cloud save failed, so it has no record name.
    void addLocalTaskInfo(const QString& name)
    {
        cloud->answer = Answer::otherFailure;
        addTaskInfo(name);
        settle();
        cloud->answer = Answer::success;
    }
};

TEST_F(TaskCatalogueTest, AddingAnExistingNameChangesNothing)
{
    TaskInfoParameter first(QStringLiteral("Write"), QStringLiteral("#82cf52"));
    first.taskDescription = QStringLiteral("Chapter two");
    store->addTaskInfo(first);
    settle();
    const auto before = store->fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(before);

    env->clock().advance(3600);
    TaskInfoParameter again(QStringLiteral("Write"), QStringLiteral("#f72020"));
    again.taskDescription = QStringLiteral("Something else");
    store->addTaskInfo(again);
    settle();

    const auto after = store->fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(after);
    EXPECT_EQ(after->color, QStringLiteral("#82cf52"));
    EXPECT_EQ(after->taskDescription, QStringLiteral("Chapter two"));
    EXPECT_EQ(after->createdAt, before->createdAt);
    EXPECT_EQ(after->cloudRecordID, QStringLiteral("record-1"));
    EXPECT_EQ(taskInfoRows(), 1);
    EXPECT_EQ(cloud->calls(), QStringList{QStringLiteral("saveTaskInfo Write")});
}

struct CloudAnswerRow {
    const char* name;
    Answer answer;
    std::optional<QString> recordID;
};

void PrintTo(const CloudAnswerRow& row, std::ostream* os)
{
    *os << row.name;
}

class TaskCatalogueCloudAnswerTest : public TaskCatalogueTest,
                                     public ::testing::WithParamInterface<CloudAnswerRow> {};

TEST_P(TaskCatalogueCloudAnswerTest, NewTaskTakesTheRecordNameOnlyOnSuccess)
{
    cloud->answer = GetParam().answer;
    addTaskInfo(QStringLiteral("Write"));
    settle();

    EXPECT_EQ(cloud->calls(), QStringList{QStringLiteral("saveTaskInfo Write")});
    const auto info = store->fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->cloudRecordID, GetParam().recordID);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskCatalogueCloudAnswerTest,
    ::testing::Values(CloudAnswerRow{"Success", Answer::success, QStringLiteral("record-1")},
                      CloudAnswerRow{"NetworkFailure", Answer::networkFailure, std::nullopt},
                      CloudAnswerRow{"OtherFailure", Answer::otherFailure, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TaskCatalogueTest, TaskNamesAreDistinctInByteOrderAndFilterByCaseSensitivePrefix)
{
    for (const char* name : {"write", "Zed", "Rewrite", "apple", "Write", "Writer", "W_1", "Draft"})
        addTaskInfo(QString::fromLatin1(name));
    // A rename is the one way to get two tasks of one name.
    store->updateTaskInfo(QStringLiteral("Draft"), QStringLiteral("Zed"));

    const QStringList all = {"Rewrite", "W_1", "Write", "Writer", "Zed", "apple", "write"};
    EXPECT_EQ(store->taskNames(), all);
    EXPECT_EQ(store->taskNames(QStringLiteral("Wr")), (QStringList{"Write", "Writer"}));
    EXPECT_EQ(store->taskNames(QStringLiteral("Write")), (QStringList{"Write", "Writer"}));
    EXPECT_EQ(store->taskNames(QStringLiteral("Zed")), QStringList{"Zed"});
    // Pattern characters are plain text here.
    EXPECT_EQ(store->taskNames(QStringLiteral("W_")), QStringList{"W_1"});
    EXPECT_EQ(store->taskNames(QStringLiteral("W%")), QStringList{});
    EXPECT_EQ(store->taskNames(QStringLiteral("wr")), QStringList{"write"});
    EXPECT_EQ(store->taskNames(QStringLiteral("x")), QStringList{});
}

TEST_F(TaskCatalogueTest, ColorOfAnUnknownTaskIsWhite)
{
    addTaskInfo(QStringLiteral("Write"), QStringLiteral("#ac92ec"));

    EXPECT_EQ(store->color(QStringLiteral("Write")), QStringLiteral("#ac92ec"));
    EXPECT_EQ(store->color(QStringLiteral("write")), QStringLiteral("#ffffff"));
    EXPECT_EQ(store->color(QStringLiteral("Read")), QStringLiteral("#ffffff"));
    EXPECT_EQ(store->color(QString()), QStringLiteral("#ffffff"));
}

TEST_F(TaskCatalogueTest, RenameCarriesPomodorosAndReachesTheCloud)
{
    addTaskInfo(QStringLiteral("Write"));
    settle();
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T10:00:00", 1500, 300, QStringLiteral("Write")));

    store->updateTaskInfo(QStringLiteral("Write"), QStringLiteral("Essay"));

    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Write")));
    const auto renamed = store->fetchTaskInfo(QStringLiteral("Essay"));
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->color, QStringLiteral("#82cf52"));
    EXPECT_EQ(renamed->cloudRecordID, QStringLiteral("record-1"));
    EXPECT_EQ(store->pomodoros(QStringLiteral("Essay"))->size(), 2);
    EXPECT_TRUE(store->pomodoros(QStringLiteral("Write"))->isEmpty());
    EXPECT_EQ(cloud->calls().last(), QStringLiteral("renameTaskWithNewName record-1 Essay"));
}

TEST_F(TaskCatalogueTest, RenameOfATaskWithoutRecordNameStaysLocal)
{
    addLocalTaskInfo(QStringLiteral("Write"));

    store->updateTaskInfo(QStringLiteral("Write"), QStringLiteral("Essay"));

    EXPECT_TRUE(store->existsTaskInfo(QStringLiteral("Essay")));
    EXPECT_EQ(cloud->calls(), QStringList{QStringLiteral("saveTaskInfo Write")});
}

TEST_F(TaskCatalogueTest, RenameOntoAnotherTasksNameKeepsBoth)
{
    addTaskInfo(QStringLiteral("Write"), QStringLiteral("#f72020"));
    addTaskInfo(QStringLiteral("Essay"), QStringLiteral("#59b6e8"));
    settle();

    store->updateTaskInfo(QStringLiteral("Essay"), QStringLiteral("Write"));

    EXPECT_EQ(taskInfoRows(), 2);
    EXPECT_EQ(store->taskNames(), QStringList{"Write"});
    const auto first = store->fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->color, QStringLiteral("#f72020"));
    EXPECT_EQ(first->cloudRecordID, QStringLiteral("record-1"));
    EXPECT_EQ(store->fetchTaskInfoWithID(QStringLiteral("record-2"))->name,
              QStringLiteral("Write"));
    EXPECT_EQ(cloud->calls().last(), QStringLiteral("renameTaskWithNewName record-2 Write"));
}

TEST_F(TaskCatalogueTest, RenameNeedsExactlyOneTaskOfTheOldName)
{
    addTaskInfo(QStringLiteral("Write"));
    addTaskInfo(QStringLiteral("Essay"));
    settle();
    store->updateTaskInfo(QStringLiteral("Essay"), QStringLiteral("Write"));
    const QStringList calls = cloud->calls();

    store->updateTaskInfo(QStringLiteral("Write"), QStringLiteral("Novel"));
    store->updateTaskInfo(QStringLiteral("Poem"), QStringLiteral("Novel"));

    EXPECT_EQ(store->taskNames(), QStringList{"Write"});
    EXPECT_EQ(taskInfoRows(), 2);
    EXPECT_EQ(cloud->calls(), calls);
    EXPECT_FALSE(store->hasChanges());
}

TEST_F(TaskCatalogueTest, UpdateWithParameterReplacesFieldsButKeepsCreation)
{
    TaskInfoParameter original(QStringLiteral("Write"), QStringLiteral("#82cf52"));
    original.taskDescription = QStringLiteral("Chapter two");
    store->addTaskInfo(original);
    settle();
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));

    env->clock().advance(7200);
    store->updateTaskInfo(QStringLiteral("Write"),
                          TaskInfoParameter(QStringLiteral("Essay"), QStringLiteral("#59b6e8")));

    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Write")));
    const auto info = store->fetchTaskInfo(QStringLiteral("Essay"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->color, QStringLiteral("#59b6e8"));
    EXPECT_EQ(info->taskDescription, std::nullopt);
    EXPECT_EQ(info->createdAt, at("2026-06-10T12:00:00"));
    EXPECT_EQ(store->pomodoros(QStringLiteral("Essay"))->size(), 1);
    EXPECT_EQ(cloud->calls().last(), QStringLiteral("updateTask record-1 Essay #59b6e8"));
}

TEST_F(TaskCatalogueTest, UpdateWithParameterOfATaskWithoutRecordNameStaysLocal)
{
    addLocalTaskInfo(QStringLiteral("Write"));

    TaskInfoParameter replacement(QStringLiteral("Write"), QStringLiteral("#fe2f68"));
    replacement.taskDescription = QStringLiteral("Now described");
    store->updateTaskInfo(QStringLiteral("Write"), replacement);

    const auto info = store->fetchTaskInfo(QStringLiteral("Write"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->color, QStringLiteral("#fe2f68"));
    EXPECT_EQ(info->taskDescription, QStringLiteral("Now described"));
    EXPECT_EQ(cloud->calls(), QStringList{QStringLiteral("saveTaskInfo Write")});
}

TEST_F(TaskCatalogueTest, DeleteUnlinksPomodorosAndTellsTheCloud)
{
    addTaskInfo(QStringLiteral("Write"));
    addTaskInfo(QStringLiteral("Read"));
    settle();
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T10:00:00", 1500, 300, QStringLiteral("Write")));
    store->addTask(task("2026-06-10T11:00:00", 1500, 300, QStringLiteral("Read")));

    store->deleteTaskInfo(QStringLiteral("Write"));

    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Write")));
    EXPECT_TRUE(store->existsTaskInfo(QStringLiteral("Read")));
    EXPECT_TRUE(store->pomodoros(QStringLiteral("Write"))->isEmpty());
    EXPECT_EQ(store->pomodoros(QStringLiteral("Read"))->size(), 1);
    const auto today = store->pomodorosForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(today);
    ASSERT_EQ(today->size(), 3);
    for (const Pomodoro& p : *today) {
        const bool isRead = p.startTime == at("2026-06-10T11:00:00");
        EXPECT_EQ(p.hasTaskInfo, isRead) << p.startTime;
    }
    EXPECT_EQ(cloud->calls().last(), QStringLiteral("deleteTaskInfo record-1"));
}

TEST_F(TaskCatalogueTest, DeleteSendsNothingWithoutATaskOrARecordName)
{
    addLocalTaskInfo(QStringLiteral("Write"));

    store->deleteTaskInfo(QStringLiteral("Read"));
    store->deleteTaskInfo(QStringLiteral("write"));
    EXPECT_TRUE(store->existsTaskInfo(QStringLiteral("Write")));

    store->deleteTaskInfo(QStringLiteral("Write"));
    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Write")));

    EXPECT_EQ(cloud->calls(), QStringList{QStringLiteral("saveTaskInfo Write")});
}

TEST_F(TaskCatalogueTest, RemoteAddKeepsTheRecordNameAndSendsNothing)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#82cf52")),
                       QStringLiteral("remote-1"));
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#f72020")),
                       QStringLiteral("remote-2"));
    settle();

    const auto info = store->fetchTaskInfoWithID(QStringLiteral("remote-1"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, QStringLiteral("Write"));
    EXPECT_EQ(info->color, QStringLiteral("#82cf52"));
    EXPECT_FALSE(store->fetchTaskInfoWithID(QStringLiteral("remote-2")));
    EXPECT_EQ(taskInfoRows(), 1);
    EXPECT_TRUE(cloud->calls().isEmpty());
}

TEST_F(TaskCatalogueTest, RemoteUpdateFindsTheTaskByRecordName)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#82cf52")),
                       QStringLiteral("remote-1"));

    store->updateTaskInfo(TaskInfoParameter(QStringLiteral("Essay"), QStringLiteral("#ffa044")),
                          QStringLiteral("remote-1"));
    store->updateTaskInfo(TaskInfoParameter(QStringLiteral("Poem"), QStringLiteral("#ffa044")),
                          QStringLiteral("remote-9"));

    const auto info = store->fetchTaskInfoWithID(QStringLiteral("remote-1"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, QStringLiteral("Essay"));
    EXPECT_EQ(info->color, QStringLiteral("#ffa044"));
    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Poem")));
    EXPECT_EQ(consoleLines, QStringList{QStringLiteral("No se encuentra el ID: remote-9")});
    EXPECT_TRUE(cloud->calls().isEmpty());
}

TEST_F(TaskCatalogueTest, AssigningARecordNameNeedsAKnownName)
{
    addLocalTaskInfo(QStringLiteral("Write"));

    store->updateTaskInfoCloudRecordID(QStringLiteral("Write"), QStringLiteral("remote-1"));
    store->updateTaskInfoCloudRecordID(QStringLiteral("Read"), QStringLiteral("remote-2"));

    EXPECT_EQ(store->fetchTaskInfo(QStringLiteral("Write"))->cloudRecordID,
              QStringLiteral("remote-1"));
    EXPECT_FALSE(store->fetchTaskInfoWithID(QStringLiteral("remote-2")));
    EXPECT_EQ(consoleLines, QStringList{QStringLiteral("No se encuentra el ID: remote-2")});
}

TEST_F(TaskCatalogueTest, RemoteDeleteRemovesTheTaskAndUnlinksItsPomodoros)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#82cf52")),
                       QStringLiteral("remote-1"));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    const QStringList calls = cloud->calls();

    store->deleteTaskInfoCloudRecordID(QStringLiteral("remote-1"));

    EXPECT_FALSE(store->existsTaskInfo(QStringLiteral("Write")));
    EXPECT_FALSE(store->fetchTaskInfoWithID(QStringLiteral("remote-1")));
    const auto today = store->pomodorosForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(today);
    ASSERT_EQ(today->size(), 1);
    EXPECT_FALSE(today->first().hasTaskInfo);
    EXPECT_EQ(taskInfoRows(), 0);
    EXPECT_EQ(cloud->calls(), calls);
}

TEST_F(TaskCatalogueTest, MigrationCataloguesOldNamesOnce)
{
    addTaskInfo(QStringLiteral("Write"), QStringLiteral("#82cf52"));
    settle();
    // Not catalogued, so the row is stored under the generic name.
    store->addTask(task("2026-06-10T08:00:00", 1500, 300, QStringLiteral("Unknown")));
    {
        RawConnection raw(storePath());
        for (const auto& [start, name] :
             {std::pair{"2026-06-10T09:00:00", "Read"}, std::pair{"2026-06-10T10:00:00", "Read"},
              std::pair{"2026-06-10T11:00:00", "Write"},
              std::pair{"2026-06-10T12:00:00", "Say \"hi\""}}) {
            const QString escaped = QString::fromUtf8(name).replace(QLatin1Char('\''), "''");
            ASSERT_TRUE(raw.exec(QStringLiteral("INSERT INTO Pomodoro(startTime, endTime, "
                                                "duration, freeTimeDuration, taskName) "
                                                "VALUES(%1, %2, 1500, 300, '%3')")
                                     .arg(at(start), 0, 'f', 3)
                                     .arg(at(start) + 1500, 0, 'f', 3)
                                     .arg(escaped)));
        }
    }
    const QStringList callsBefore = cloud->calls();

    store->migrateToTaskInfo();
    settle();

    EXPECT_EQ(store->taskNames(), (QStringList{"Read", "Say \"hi\"", "Task", "Write"}));
    EXPECT_EQ(taskInfoRows(), 4);
    for (const char* name : {"Read", "Say \"hi\"", "Task"})
        EXPECT_EQ(store->color(QString::fromUtf8(name)), QStringLiteral("#f72020")) << name;
    // An already catalogued name keeps its task and colour.
    EXPECT_EQ(store->color(QStringLiteral("Write")), QStringLiteral("#82cf52"));

    const QStringList newCalls = cloud->calls().mid(callsBefore.size());
    EXPECT_EQ(sorted(newCalls),
              (QStringList{"saveTaskInfo Read", "saveTaskInfo Say \"hi\"", "saveTaskInfo Task"}));

    const auto today = store->pomodorosForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(today);
    ASSERT_EQ(today->size(), 5);
    for (const Pomodoro& p : *today) {
        EXPECT_FALSE(p.hasTaskInfo) << p.startTime;
        EXPECT_TRUE(p.taskName) << p.startTime;
    }
    EXPECT_TRUE(store->pomodoros(QStringLiteral("Read"))->isEmpty());

    const QStringList callsAfterFirst = cloud->calls();
    store->migrateToTaskInfo();
    settle();
    EXPECT_EQ(taskInfoRows(), 4);
    EXPECT_EQ(cloud->calls(), callsAfterFirst);
}

} // namespace
