#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "datalib/store/RawSql.h"
#include "store/DataController.h"
#include "store/StoreFile.h"
#include "store/StoreMark.h"
#include "support/TestEnvironment.h"

namespace {

class StoreFileTest : public ::testing::Test {
protected:
    QString path() const { return env.dataDirectory() + QStringLiteral("/Pomodoro.DataModel"); }

    void writeFile(const QByteArray& bytes)
    {
        QDir().mkpath(env.dataDirectory());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs SQL on the file through a connection of the test's own.
    int rawInt(const char* sql) const { return RawSql::queryInt(path(), sql); }

    void rawExec(const char* sql) const { ASSERT_EQ(RawSql::exec(path(), sql), QString()); }

    TestEnvironment env;
};

TEST_F(StoreFileTest, NothingIsOpenedBeforeTheFirstOperation)
{
    DataController store(env.dataDirectory());
    EXPECT_FALSE(QFile::exists(path()));
    store.tasksFinished(Date(0));
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(rawInt("PRAGMA user_version"), StoreFile::bundledMigrations().size());
    EXPECT_EQ(rawInt("SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 6);
    EXPECT_EQ(rawInt("PRAGMA application_id"), StoreMark::applicationId);
}

TEST_F(StoreFileTest, OpensInWriteAheadModeWithForeignKeys)
{
    StoreFile::Opened opened = StoreFile::open(path());
    ASSERT_NE(opened.database, nullptr) << opened.error.toStdString();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(opened.database, "PRAGMA journal_mode", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "wal");
    sqlite3_finalize(statement);
    sqlite3_prepare_v2(opened.database, "PRAGMA foreign_keys", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 1);
    sqlite3_finalize(statement);
    sqlite3_close(opened.database);
}

TEST_F(StoreFileTest, RecordsOutliveTheProcessThatWroteThem)
{
    {
        DataController store(env.dataDirectory());
        store.addSession(100.0, 4);
    }
    DataController reopened(env.dataDirectory());
    EXPECT_EQ(reopened.stats().sessions, 1);
}

TEST_F(StoreFileTest, FileThatIsNotADatabaseIsReportedAndKept)
{
    const QByteArray garbage = "these are my notes, not a database\n" + QByteArray(5000, 'x');
    writeFile(garbage);
    // The log line goes to standard output; the child sends it to stderr for the matcher.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            DataController store(env.dataDirectory());
            store.stats();
        },
        ::testing::ExitedWithCode(1),
        "Unresolved error .*YOUR_ERROR_DOMAIN.*9999.*Failed to initialize the application's "
        "saved data");
    EXPECT_EQ(readFile(), garbage);

    StoreFile::Opened opened = StoreFile::open(path());
    EXPECT_EQ(opened.database, nullptr);
    EXPECT_FALSE(opened.error.isEmpty());
    EXPECT_EQ(readFile(), garbage);
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral("-wal")));
}

TEST_F(StoreFileTest, StoreOfANewerVersionIsLeftUntouched)
{
    {
        DataController store(env.dataDirectory());
        store.addSession(100.0, 4);
    }
    rawExec("PRAGMA user_version = 99");
    rawExec("PRAGMA wal_checkpoint(TRUNCATE)");
    const QByteArray before = readFile();

    StoreFile::Opened opened = StoreFile::open(path());
    EXPECT_EQ(opened.database, nullptr);
    EXPECT_TRUE(opened.error.contains(QStringLiteral("newer version")));
    EXPECT_EXIT(
        {
            DataController store(env.dataDirectory());
            store.stats();
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(readFile(), before);
    EXPECT_EQ(rawInt("SELECT count(*) FROM Session"), 1);
}

TEST_F(StoreFileTest, MigrationBacksUpTheOldFileFirst)
{
    QStringList migrations = StoreFile::bundledMigrations();
    {
        DataController store(env.dataDirectory());
        store.addSession(100.0, 4);
    }
    const int oldVersion = static_cast<int>(migrations.size());
    migrations.append(QStringLiteral("ALTER TABLE Session ADD COLUMN note TEXT;"));

    StoreFile::Opened opened = StoreFile::open(path(), migrations);
    ASSERT_NE(opened.database, nullptr) << opened.error.toStdString();
    sqlite3_close(opened.database);

    EXPECT_EQ(rawInt("PRAGMA user_version"), oldVersion + 1);
    EXPECT_EQ(rawInt("SELECT count(*) FROM pragma_table_info('Session') WHERE name = 'note'"), 1);
    const QString backup = path() + QStringLiteral(".v%1.bak").arg(oldVersion);
    ASSERT_TRUE(QFile::exists(backup));
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(backup).constData(), &db);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Session", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 1);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST_F(StoreFileTest, FailedMigrationRollsBackAndKeepsTheStore)
{
    QStringList migrations = StoreFile::bundledMigrations();
    {
        DataController store(env.dataDirectory());
        store.addSession(100.0, 4);
    }
    const int oldVersion = static_cast<int>(migrations.size());
    migrations.append(QStringLiteral("ALTER TABLE Session ADD COLUMN note TEXT;\n"
                                     "DELETE FROM Session;\n"
                                     "THIS IS NOT SQL;"));

    StoreFile::Opened opened = StoreFile::open(path(), migrations);
    EXPECT_EQ(opened.database, nullptr);
    EXPECT_TRUE(opened.error.contains(QStringLiteral("Migration")));
    EXPECT_EQ(rawInt("PRAGMA user_version"), oldVersion);
    EXPECT_EQ(rawInt("SELECT count(*) FROM Session"), 1);
    EXPECT_EQ(rawInt("SELECT count(*) FROM pragma_table_info('Session') WHERE name = 'note'"), 0);

    // The current version still opens it as before.
    DataController store(env.dataDirectory());
    EXPECT_EQ(store.stats().sessions, 1);
}

TEST_F(StoreFileTest, OpenReportsAStoreThatCannotOpenAndTheProcessGoesOn)
{
    const QByteArray garbage = "not a database\n" + QByteArray(5000, 'x');
    writeFile(garbage);
    DataController store(env.dataDirectory());
    EXPECT_FALSE(store.open());
    ASSERT_TRUE(store.lastError().has_value());
    EXPECT_FALSE(store.lastError()->isEmpty());
    EXPECT_EQ(readFile(), garbage);
}

TEST_F(StoreFileTest, StoreOfTheFirstReleaseOpensAndGetsTheMark)
{
    // As the first release left it: Zestra's tables and version, no mark.
    QDir().mkpath(env.dataDirectory());
    rawExec((StoreFile::bundledMigrations().first() +
             QStringLiteral("PRAGMA user_version = 1; PRAGMA journal_mode = WAL;"
                            "INSERT INTO Session (finishedAt, tasksCount) VALUES (100, 4);"))
                .toUtf8()
                .constData());
    ASSERT_EQ(rawInt("PRAGMA application_id"), 0);

    DataController store(env.dataDirectory());
    ASSERT_TRUE(store.open()) << store.lastError().value_or(QString()).toStdString();
    EXPECT_EQ(store.stats().sessions, 1);
    EXPECT_EQ(rawInt("PRAGMA application_id"), StoreMark::applicationId);
}

struct ForeignRow {
    const char* name;
    const char* sql;
};

void PrintTo(const ForeignRow& row, std::ostream* os)
{
    *os << row.name;
}

class ForeignDatabaseTest : public StoreFileTest,
                            public ::testing::WithParamInterface<ForeignRow> {};

TEST_P(ForeignDatabaseTest, IsReportedAndLeftByteForByte)
{
    QDir().mkpath(env.dataDirectory());
    rawExec(GetParam().sql);
    const QByteArray before = readFile();
    ASSERT_FALSE(before.isEmpty());
    const int markBefore = rawInt("PRAGMA application_id");

    StoreFile::Opened opened = StoreFile::open(path());
    EXPECT_EQ(opened.database, nullptr);
    EXPECT_TRUE(opened.error.contains(QStringLiteral("not a Zestra store")))
        << opened.error.toStdString();
    DataController store(env.dataDirectory());
    EXPECT_FALSE(store.open());
    EXPECT_FALSE(store.open(DataController::OpenMode::ReadOnlyWhenUnwritable));

    EXPECT_EQ(readFile(), before);
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral("-wal")));
    EXPECT_EQ(rawInt("PRAGMA application_id"), markBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ForeignDatabaseTest,
    ::testing::Values(
        // A table of Zestra's name with other columns.
        ForeignRow{"ConflictingTable", "CREATE TABLE Pomodoro (x TEXT); INSERT INTO Pomodoro "
                                       "VALUES ('mine');"},
        ForeignRow{"OwnTablesOnly", "CREATE TABLE notes (t TEXT); INSERT INTO notes "
                                    "VALUES ('keep me');"},
        // Zestra's tables with one more of its own: not what any release made.
        ForeignRow{
            "ZestraTablesAndMore",
            "CREATE TABLE Goal (id INTEGER PRIMARY KEY, achieveAt REAL, tasksCount "
            "INTEGER, cloudRecordID TEXT); CREATE TABLE extra (x); PRAGMA user_version = 1;"},
        ForeignRow{"OtherApplicationsMark", "PRAGMA application_id = 1234; CREATE TABLE t (x);"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
