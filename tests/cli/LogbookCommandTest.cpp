#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include "CliFixture.h"

namespace {

using LogbookCommand = CliFixture;

QStringList kinds(const QJsonArray& rows)
{
    QStringList result;
    for (const QJsonValue& row : rows)
        result.append(row.toObject().value("kind").toString());
    return result;
}

TEST_F(LogbookCommand, RowsOfADayInTheWindowsOrderWithRunningTotals)
{
    ok({"add-task-info", "A", "--color", "#59b6e8"});
    ok({"add-task-info", "B", "--color", "#82cf52"});
    // Madrid's 23-hour day: the rows still belong to it and to no other.
    ok({"add-pomodoro", "--start", "2026-03-29T09:00", "--duration", "1500", "--task", "A"});
    ok({"add-pomodoro", "--start", "2026-03-29T09:30", "--duration", "150", "--task", "B"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1200", "--task", "A"});
    ok({"add-pomodoro", "--start", "2026-03-29T23:59:59", "--duration", "60"});
    ok({"add-pomodoro", "--start", "2026-03-30T00:00", "--duration", "60", "--task", "A"});
    ok({"add-session", "--at", "2026-03-29T10:25", "--tasks", "3"});
    ok({"add-goal", "--at", "2026-03-29T10:26", "--tasks", "3"});

    const QJsonObject day = json({"logbook", "2026-03-29"}).object();
    EXPECT_EQ(day.value("day").toString(), "2026-03-29");
    EXPECT_TRUE(day.value("hasPomodoros").toBool());
    const QJsonArray rows = day.value("rows").toArray();
    ASSERT_EQ(kinds(rows),
              (QStringList{"task", "goal", "session", "task", "task", "task", "start"}));

    const QJsonObject undefined = rows.at(0).toObject();
    EXPECT_EQ(undefined.value("task").toString(), "Undefined task");
    EXPECT_EQ(undefined.value("iterations").toInt(), 0);
    EXPECT_EQ(undefined.value("localTime").toString(), "2026-03-29T23:59:59");
    EXPECT_EQ(rows.at(1).toObject().value("goal").toInt(), 3);
    EXPECT_TRUE(rows.at(1).toObject().value("task").isNull());
    EXPECT_EQ(rows.at(2).toObject().value("tasksCount").toInt(), 3);

    const QJsonObject lastA = rows.at(3).toObject();
    EXPECT_EQ(lastA.value("task").toString(), "A");
    EXPECT_EQ(lastA.value("iterations").toInt(), 2);
    EXPECT_EQ(lastA.value("totalTime").toInt(), 2700);
    EXPECT_EQ(rows.at(4).toObject().value("task").toString(), "B");
    EXPECT_EQ(rows.at(4).toObject().value("totalTime").toInt(), 150);
    EXPECT_EQ(rows.at(5).toObject().value("iterations").toInt(), 1);

    // The day began with its first pomodoro.
    const QJsonObject start = rows.at(6).toObject();
    EXPECT_EQ(start.value("localTime").toString(), "2026-03-29T09:00:00");
    EXPECT_DOUBLE_EQ(start.value("moment").toDouble(),
                     rows.at(5).toObject().value("moment").toDouble());
    EXPECT_TRUE(start.value("iterations").isNull());
}

TEST_F(LogbookCommand, AnEmptyDayIsOneEmptyRowAndBadDaysAreRefused)
{
    ok({"add-session", "--at", "2026-03-28T10:00", "--tasks", "2"});
    const QJsonObject day = json({"logbook", "2026-03-27"}).object();
    EXPECT_FALSE(day.value("hasPomodoros").toBool());
    const QJsonArray rows = day.value("rows").toArray();
    ASSERT_EQ(kinds(rows), QStringList{"empty"});
    EXPECT_TRUE(rows.at(0).toObject().value("moment").isNull());

    for (const QStringList& arguments :
         {QStringList{"logbook", "2026-02-30"}, QStringList{"logbook", "a", "b"}})
        expectRefused(cli(arguments), 2, arguments);
}

TEST_F(LogbookCommand, AnUnreadableStoreIsReportedAndKept)
{
    ASSERT_TRUE(QDir().mkpath(env.dataDirectory()));
    const QByteArray garbage = "this is not a database\n";
    {
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    expectFailedInOneLine(cli({"logbook", "2026-03-29"}), {"logbook"});
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
}

} // namespace
