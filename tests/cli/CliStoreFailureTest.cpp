#include <memory>
#include <vector>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "CliFixture.h"
#include "SmallDisk.h"
#include "store/DataController.h"

namespace {

// The six commands that write the store, each on records the setup made.
const QList<QStringList> writes = {
    {"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1500", "--task", "Writing"},
    {"add-session", "--at", "2026-03-29T11:00", "--tasks", "4"},
    {"add-goal", "--at", "2026-03-29T12:00", "--tasks", "8"},
    {"add-task-info", "New", "--color", "#123456"},
    {"rename-task-info", "Writing", "Renamed"},
    {"delete-task-info", "Reading"},
};

// When the store refuses or cannot take a write, the program says so in one line and ends
// with status 1; nothing is stored.
class CliStoreFailure : public CliFixture {
protected:
    void makeStore()
    {
        ok({"add-task-info", "Writing", "--color", "#59b6e8"});
        ok({"add-task-info", "Reading", "--color", "#f72020"});
    }

    void expectNothingWritten()
    {
        const QJsonObject stats = json({"stats"}).object();
        EXPECT_EQ(stats.value("tasks").toInt(), 0);
        EXPECT_EQ(stats.value("sessions").toInt(), 0);
        EXPECT_EQ(stats.value("goals").toInt(), 0);
        QStringList names;
        for (const QJsonValue& task : json({"tasks"}).array())
            names.append(task.toObject().value("name").toString());
        EXPECT_EQ(names, QStringList({"Reading", "Writing"}));
    }

    QByteArray readStore() const
    {
        QFile file(storeFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A connection of the test's own to the store file.
    sqlite3* connect() const
    {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(storeFile()).constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        return db;
    }
};

TEST_F(CliStoreFailure, FullDiskRefusesEveryWrite)
{
    SmallDisk disk(env.dataDirectory(), 2);
    if (!disk.available())
        GTEST_SKIP() << "cannot mount a small disk here";
    makeStore();
    // Room for the store's shared-memory file, none for what a save writes.
    ASSERT_TRUE(disk.fill(36 * 1024));

    for (const QStringList& arguments : writes) {
        const CliRun run = cli(arguments);
        expectFailedInOneLine(run, arguments);
        EXPECT_TRUE(run.err.contains("full") || run.err.contains("I/O")) << run.err.toStdString();
    }

    disk.freeSpace();
    expectNothingWritten();
    // With room again, the same commands work.
    for (const QStringList& arguments : writes)
        ok(arguments);
}

TEST_F(CliStoreFailure, ReadOnlyStoreRefusesWritesAndStillReads)
{
    makeStore();
    ok({"add-pomodoro", "--start", "2026-03-29T09:00", "--duration", "1500", "--task", "Writing"});
    // Root writes through permissions, so a read-only disk stands in for them there.
    std::unique_ptr<SmallDisk> disk;
    if (geteuid() == 0) {
        const QByteArray store = readStore();
        disk = std::make_unique<SmallDisk>(env.dataDirectory(), 2);
        if (!disk->available())
            GTEST_SKIP() << "cannot mount a read-only disk here";
        QFile copy(storeFile());
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(store);
        copy.close();
        ASSERT_TRUE(disk->makeReadOnly());
    } else {
        ASSERT_EQ(chmod(QFile::encodeName(storeFile()).constData(), 0444), 0);
        ASSERT_EQ(chmod(QFile::encodeName(env.dataDirectory()).constData(), 0555), 0);
    }
    const QByteArray before = readStore();

    for (const QStringList& arguments : writes)
        expectFailedInOneLine(cli(arguments), arguments);

    for (const QStringList& arguments :
         {QStringList{"day", "2026-03-29"}, QStringList{"tasks"}, QStringList{"stats"},
          QStringList{"export-csv", "2026-03-29", "-"}}) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_FALSE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains("nothing is written")) << run.err.toStdString();
    }
    const QJsonObject day = json({"day", "2026-03-29"}).object();
    EXPECT_EQ(day.value("pomodoros").toArray().size(), 1);
    EXPECT_EQ(readStore(), before);
    EXPECT_FALSE(QFile::exists(storeFile() + QStringLiteral("-wal")));

    if (!disk)
        chmod(QFile::encodeName(env.dataDirectory()).constData(), 0755);
}

TEST_F(CliStoreFailure, StoreLockedByAnotherWriterRefusesTheWrite)
{
    makeStore();
    sqlite3* other = connect();
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    // Waits out the store's patience (five seconds) once.
    const QStringList arguments = {"add-session", "--at", "2026-03-29T11:00", "--tasks", "4"};
    const CliRun run = cli(arguments);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    expectFailedInOneLine(run, arguments);
    EXPECT_TRUE(run.err.contains("locked")) << run.err.toStdString();
    expectNothingWritten();
}

TEST_F(CliStoreFailure, CorruptPagesAreReportedNotCountedAsNothing)
{
    makeStore();
    sqlite3* db = connect();
    ASSERT_EQ(sqlite3_exec(db,
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                           "WHERE i < 3000) INSERT INTO Pomodoro (startTime, duration) "
                           "SELECT i, 1500 FROM n;"
                           "PRAGMA wal_checkpoint(TRUNCATE);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    // The header page (and the schema on it) stays; every other page is garbage.
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), 3 * 4096);
    file.seek(4096);
    file.write(QByteArray(file.size() - 4096, '\xA5'));
    file.close();

    for (const QStringList& arguments :
         {QStringList{"stats"}, QStringList{"day", "1970-01-01"}, QStringList{"tasks"}}) {
        const CliRun run = cli(arguments);
        expectFailedInOneLine(run, arguments);
        EXPECT_TRUE(run.err.contains("malformed")) << run.err.toStdString();
    }
}

TEST_F(CliStoreFailure, DatabaseOfAnotherProgramIsReportedAndKept)
{
    ASSERT_TRUE(QDir().mkpath(env.dataDirectory()));
    sqlite3* db = connect();
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('mine');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const QByteArray before = readStore();

    for (const QStringList& arguments :
         {QStringList{"day"}, QStringList{"stats"}, writes.at(1), writes.at(3)}) {
        const CliRun run = cli(arguments);
        expectFailedInOneLine(run, arguments);
        EXPECT_TRUE(run.err.contains("not a Zestra store")) << run.err.toStdString();
    }
    EXPECT_EQ(readStore(), before);
}

TEST_F(CliStoreFailure, ProcessesAddingOneNameAtOnceStoreItOnce)
{
    constexpr int rounds = 15;
    for (int round = 0; round < rounds; ++round) {
        const QStringList arguments = {"add-task-info", QStringLiteral("Task %1").arg(round),
                                       "--color", "#123456"};
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < 4; ++i)
            processes.push_back(start(arguments));
        int stored = 0;
        for (auto& process : processes) {
            const CliRun run = finish(*process, arguments);
            if (run.exitCode == 0) {
                ++stored;
            } else {
                expectFailedInOneLine(run, arguments);
                EXPECT_TRUE(run.err.contains("already exists")) << run.err.toStdString();
            }
        }
        EXPECT_EQ(stored, 1) << "round " << round;
    }
    sqlite3* db = connect();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*), count(DISTINCT name) FROM TaskInfo", -1, &statement,
                       nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), rounds);
    EXPECT_EQ(sqlite3_column_int(statement, 1), rounds);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST_F(CliStoreFailure, ApplicationUsingTheStoreLeavesItFreeForTheProgram)
{
    // The application, in this process: after deleting a name that two tasks bore, it once
    // kept the unlink of the second task's pomodoros in an open write transaction.
    DataController application(env.dataDirectory());
    application.addTask([] {
        TaskParameter p;
        p.startTime = 796464000.0;
        p.endTime = *p.startTime + 1500;
        p.duration = 1500;
        p.freeTimeDuration = 300;
        return p;
    }());
    application.addTaskInfo(TaskInfoParameter(QStringLiteral("A"), QStringLiteral("#112233")));
    application.addTaskInfo(TaskInfoParameter(QStringLiteral("B"), QStringLiteral("#112233")));
    application.updatePomodoroName(QStringLiteral("B"), Date(796464000.0));
    application.updateTaskInfo(QStringLiteral("B"), QStringLiteral("A"));
    application.deleteTaskInfo(QStringLiteral("A"));

    ok(writes.at(1));
    EXPECT_EQ(application.sessionsFinished(Date(796464000.0)), 1);
}

} // namespace
