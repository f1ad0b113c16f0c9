#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include "CliFixture.h"

namespace {

using CliProcess = CliFixture;

// 2026-03-29, a 23-hour day in Madrid, at these local times.
constexpr double at0900 = 796460400.0;
constexpr double at1000 = 796464000.0;
constexpr double at1200Quarter = 796471200.25;

TEST_F(CliProcess, RecordsOfADayComeBackInOrder)
{
    ok({"add-task-info", "Writing", "--color", "#59B6E8", "--description", "Chapter 3"});
    // Added out of order: the listing must sort them.
    ok({"add-pomodoro", "--start", "2026-03-29T10:00:00", "--duration", "1500", "--task",
        "Writing"});
    ok({"add-pomodoro", "--start", "2026-03-29T12:00:00.25", "--duration", "1200", "--task",
        "Writing"});
    ok({"add-pomodoro", "--start=2026-03-29T09:00", "--duration=1500", "--break=600"});
    ok({"add-pomodoro", "--start", "2026-03-30T00:00:00", "--duration", "60"});
    ok({"add-session", "--at", "2026-03-29T13:00", "--tasks", "4"});
    ok({"add-session", "--at", "2026-03-29T08:00", "--tasks", "2"});
    ok({"add-goal", "--at", "2026-03-29T12:30:00", "--tasks", "8"});
    EXPECT_TRUE(QFile::exists(storeFile())) << "the store belongs under XDG_DATA_HOME";

    const QJsonObject day = json({"day", "2026-03-29"}).object();
    const QJsonArray pomodoros = day.value("pomodoros").toArray();
    ASSERT_EQ(pomodoros.size(), 3);

    const QJsonObject generic = pomodoros.at(0).toObject();
    EXPECT_DOUBLE_EQ(generic.value("startTime").toDouble(), at0900);
    EXPECT_DOUBLE_EQ(generic.value("endTime").toDouble(), at0900 + 1500);
    EXPECT_EQ(generic.value("duration").toInt(), 1500);
    EXPECT_EQ(generic.value("freeTimeDuration").toInt(), 600);
    EXPECT_TRUE(generic.value("taskName").isString());
    EXPECT_TRUE(generic.value("task").isNull());
    EXPECT_TRUE(generic.value("cloudRecordID").isNull());

    const QJsonObject linked = pomodoros.at(1).toObject();
    EXPECT_DOUBLE_EQ(linked.value("startTime").toDouble(), at1000);
    EXPECT_EQ(linked.value("freeTimeDuration").toInt(), 300);
    EXPECT_TRUE(linked.value("taskName").isNull());
    EXPECT_EQ(linked.value("task").toString(), "Writing");

    const QJsonObject fractional = pomodoros.at(2).toObject();
    EXPECT_DOUBLE_EQ(fractional.value("startTime").toDouble(), at1200Quarter);
    EXPECT_DOUBLE_EQ(fractional.value("endTime").toDouble(), at1200Quarter + 1200);

    const QJsonArray sessions = day.value("sessions").toArray();
    ASSERT_EQ(sessions.size(), 2);
    EXPECT_EQ(sessions.at(0).toObject().value("tasksCount").toInt(), 2);
    EXPECT_EQ(sessions.at(1).toObject().value("tasksCount").toInt(), 4);
    EXPECT_DOUBLE_EQ(sessions.at(1).toObject().value("finishedAt").toDouble(), at1000 + 3 * 3600);

    const QJsonObject goal = day.value("goal").toObject();
    EXPECT_EQ(goal.value("tasksCount").toInt(), 8);
    EXPECT_DOUBLE_EQ(goal.value("achieveAt").toDouble(), at1000 + 2.5 * 3600);

    const QJsonObject nextDay = json({"day", "2026-03-30"}).object();
    EXPECT_EQ(nextDay.value("pomodoros").toArray().size(), 1);
    EXPECT_TRUE(nextDay.value("sessions").toArray().isEmpty());
    EXPECT_TRUE(nextDay.value("goal").isNull());
}

TEST_F(CliProcess, CatalogueListsRenamesAndDeletes)
{
    const QString cafe = QString::fromUtf8("Caf\u00e9 \u2615");
    ok({"add-task-info", "Writing", "--color", "#59B6E8", "--description", "Chapter 3"});
    ok({"add-task-info", cafe, "--color", "#f72020"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1500", "--task", "Writing"});
    ok({"add-pomodoro", "--start", "2026-03-29T11:00", "--duration", "900", "--task", "Writing"});

    QJsonArray tasks = json({"tasks"}).array();
    ASSERT_EQ(tasks.size(), 2);
    QJsonObject writing, coffee;
    for (const QJsonValue& task : tasks)
        (task.toObject().value("name") == "Writing" ? writing : coffee) = task.toObject();
    EXPECT_EQ(writing.value("color").toString(), "#59b6e8");
    EXPECT_EQ(writing.value("description").toString(), "Chapter 3");
    EXPECT_EQ(writing.value("executions").toInt(), 2);
    EXPECT_EQ(writing.value("timeDedicated").toInt(), 2400);
    EXPECT_TRUE(writing.value("createdAt").isDouble());
    EXPECT_EQ(coffee.value("name").toString(), cafe);
    EXPECT_TRUE(coffee.value("description").isNull());
    EXPECT_EQ(coffee.value("executions").toInt(), 0);

    const QStringList taken = {"add-task-info", "Writing", "--color", "#000000"};
    expectRefused(cli(taken), 1, taken);
    const QStringList clash = {"rename-task-info", "Writing", cafe};
    expectRefused(cli(clash), 1, clash);

    ok({"rename-task-info", "Writing", "Reading"});
    const QJsonArray pomodoros = json({"day", "2026-03-29"}).object().value("pomodoros").toArray();
    ASSERT_EQ(pomodoros.size(), 2);
    EXPECT_EQ(pomodoros.at(0).toObject().value("task").toString(), "Reading");

    ok({"delete-task-info", "Reading"});
    ok({"delete-task-info", cafe});
    EXPECT_TRUE(json({"tasks"}).array().isEmpty());
    for (const QStringList& missing : {QStringList{"rename-task-info", "Reading", "Other"},
                                       QStringList{"delete-task-info", "Reading"}})
        expectRefused(cli(missing), 1, missing);
}

TEST_F(CliProcess, StatsCountTheRecords)
{
    ok({"add-task-info", "Writing", "--color", "#59b6e8"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1500"});
    ok({"add-pomodoro", "--start", "2026-03-28T10:00", "--duration", "1500"});
    ok({"add-session", "--at", "2026-03-29T11:00", "--tasks", "2"});
    ok({"add-goal", "--at", "2026-03-29T11:00", "--tasks", "2"});

    const QJsonObject stats = json({"stats"}).object();
    EXPECT_EQ(stats.value("tasks").toInt(), 2);
    EXPECT_EQ(stats.value("sessions").toInt(), 1);
    EXPECT_EQ(stats.value("goals").toInt(), 1);
    EXPECT_EQ(stats.value("activities").toInt(), 0);
    EXPECT_TRUE(stats.value("thieves").isDouble());
}

TEST_F(CliProcess, ExportWritesHeaderThenOneLinePerPomodoro)
{
    ok({"add-task-info", "Writing", "--color", "#59b6e8"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1500", "--task", "Writing"});
    ok({"add-pomodoro", "--start", "2026-03-29T11:00", "--duration", "900"});
    ok({"add-pomodoro", "--start", "2026-03-30T11:00", "--duration", "900"});

    // A relative name is taken from the working directory of the caller.
    const CliRun exported = cli({"export-csv", "2026-03-29", "day.csv"}, env.root());
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QFile csv(env.root() + QStringLiteral("/day.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(u'\n');
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    QStringList rows = lines.mid(1);
    rows.sort();
    EXPECT_TRUE(rows.at(0).startsWith("Generic Task;") && rows.at(0).endsWith(";900"))
        << rows.at(0).toStdString();
    EXPECT_TRUE(rows.at(1).startsWith("Writing;") && rows.at(1).endsWith(";1500"))
        << rows.at(1).toStdString();

    const QString empty = env.root() + QStringLiteral("/empty.csv");
    ok({"export-csv", "2026-03-27", empty});
    QFile emptyCsv(empty);
    ASSERT_TRUE(emptyCsv.open(QIODevice::ReadOnly));
    EXPECT_FALSE(emptyCsv.readAll().contains('\n'));

    const QStringList unwritable = {"export-csv", "2026-03-29",
                                    env.root() + QStringLiteral("/no/such/folder/day.csv")};
    expectRefused(cli(unwritable), 1, unwritable);
}

TEST_F(CliProcess, TodayNeedsSomethingRecordedToday)
{
    expectRefused(cli({"today"}), 1, {"today"});

    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    ok({"add-pomodoro", "--start", now, "--duration", "1500", "--break", "300"});
    const QJsonObject today = json({"today"}).object();
    EXPECT_EQ(today.value("ExtensionTaskCount").toInt(), 1);
    EXPECT_EQ(today.value("ExtensionWorkTime").toDouble(), 1500.0);
    EXPECT_EQ(today.value("ExtensionFreeTime").toDouble(), 300.0);
    for (const char* key :
         {"ExtensionDate", "ExtensionStartTime", "ExtensionSessionCount", "ExtensionGoalAchieve"})
        EXPECT_TRUE(today.contains(key)) << key;
}

TEST_F(CliProcess, WrongUsageIsRefusedBeforeTheStoreOpens)
{
    const QString start = QStringLiteral("2026-03-29T10:00");
    const QList<QStringList> rows = {
        {},
        {"frobnicate"},
        {"help", "frobnicate"},
        {"add-pomodoro", "--start", "2026-03-29T02:30", "--duration", "60"},
        {"add-pomodoro", "--start", "2026-03-29", "--duration", "60"},
        {"add-pomodoro", "--start", start, "--duration", "-5"},
        {"add-pomodoro", "--start", start, "--duration", "60", "--break", "-1"},
        {"add-pomodoro", "--start", start},
        {"add-pomodoro", "--start", start, "--duration"},
        {"add-pomodoro", "--start", start, "--duration", "60", "--bogus", "1"},
        {"add-pomodoro", "--start", start, "--duration", "60", "extra"},
        {"add-pomodoro", "--start", start, "--duration", "60", "--task", ""},
        {"add-pomodoro", "--start", start, "--duration", "0"},
        {"add-pomodoro", "--start", start, "--duration", "86401"},
        {"add-pomodoro", "--start", start, "--duration", "60", "--task", "   "},
        {"add-pomodoro", "--start", start, "--duration", "60", "--task", "Write\nreport"},
        {"add-task-info", " \t ", "--color", "#123456"},
        {"add-task-info", "Write\treport", "--color", "#123456"},
        {"rename-task-info", "Writing", "\x1b[31mRed"},
        {"add-session", "--at", start, "--tasks", "0"},
        {"add-goal", "--at", start, "--tasks", "2147483648"},
        {"add-goal", "--at", "yesterday", "--tasks", "2"},
        {"add-task-info", "Writing", "--color", "blue"},
        {"add-task-info", "--color", "#123456"},
        {"rename-task-info", "Writing"},
        {"day", "2026-02-30"},
        {"day", "2026-03-29", "2026-03-30"},
        {"export-csv", "2026-03-29"},
        {"stats", "--verbose"},
    };
    for (const QStringList& arguments : rows)
        expectRefused(cli(arguments), 2, arguments);
    EXPECT_FALSE(QFile::exists(storeFile()));
}

TEST_F(CliProcess, HelpGoesToStandardOutput)
{
    for (const QStringList& arguments :
         {QStringList{"--help"}, QStringList{"help"}, QStringList{"help", "add-pomodoro"},
          QStringList{"add-pomodoro", "--help"}}) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains("add-pomodoro")) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST_F(CliProcess, UnreadableStoreStopsTheProgramAndIsKept)
{
    ASSERT_TRUE(QDir().mkpath(env.dataDirectory()));
    const QByteArray garbage = "this is not a database\n";
    {
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    expectFailedInOneLine(cli({"day"}), {"day"});
    expectFailedInOneLine(cli({"add-session", "--at", "2026-03-29T10:00", "--tasks", "2"}),
                          {"add-session"});
    QFile file(storeFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
}

TEST_F(CliProcess, TodaySaysWhenTheSummaryIsOfAnotherDay)
{
    // What a save two days ago left behind.
    const QDateTime twoDaysAgo = QDateTime::currentDateTime().addDays(-2);
    const double written = static_cast<double>(twoDaysAgo.toSecsSinceEpoch()) - 978307200.0;
    ASSERT_TRUE(QDir().mkpath(env.dataDirectory() + QStringLiteral("/group")));
    QFile file(env.dataDirectory() + QStringLiteral("/group/pomodoro_extension.data"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(QJsonObject{{"ExtensionDate", written},
                                         {"ExtensionStartTime", written - 1500},
                                         {"ExtensionTaskCount", 7},
                                         {"ExtensionSessionCount", 1},
                                         {"ExtensionGoalAchieve", false},
                                         {"ExtensionWorkTime", 10500.0},
                                         {"ExtensionFreeTime", 2100.0}})
                   .toJson());
    file.close();

    const CliRun run = cli({"today"});
    expectFailedInOneLine(run, {"today"});
    EXPECT_TRUE(run.err.contains(twoDaysAgo.date().toString(Qt::ISODate).toUtf8()))
        << run.err.toStdString();
}

TEST_F(CliProcess, ExportGoesToStandardOutput)
{
    ok({"add-task-info", "Writing", "--color", "#59b6e8"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "1500", "--task", "Writing"});
    for (const char* target : {"-", "/dev/stdout"}) {
        const CliRun run = cli({"export-csv", "2026-03-29", target});
        ASSERT_EQ(run.exitCode, 0) << target << ": " << run.err.toStdString();
        const QList<QByteArray> lines = run.out.split('\n');
        ASSERT_EQ(lines.size(), 2) << target << ": " << run.out.toStdString();
        EXPECT_TRUE(lines.at(1).startsWith("Writing;") && lines.at(1).endsWith(";1500"))
            << target << ": " << run.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(env.root() + QStringLiteral("/-")));
}

TEST_F(CliProcess, TaskNameWithADashTakesItsOptionsAfterIt)
{
    ok({"add-task-info", "--", "-dash", "--color", "#112233"});
    ok({"add-task-info", "  Padded  ", "--color", "#445566"});
    ok({"add-pomodoro", "--start", "2026-03-29T10:00", "--duration", "60", "--task", "-dash"});
    const QJsonArray tasks = json({"tasks"}).array();
    ASSERT_EQ(tasks.size(), 2);
    EXPECT_EQ(tasks.at(0).toObject().value("name").toString(), "-dash");
    EXPECT_EQ(tasks.at(0).toObject().value("color").toString(), "#112233");
    EXPECT_EQ(tasks.at(0).toObject().value("executions").toInt(), 1);
    // Stored without its blanks, as the task creator stores names.
    EXPECT_EQ(tasks.at(1).toObject().value("name").toString(), "Padded");
}

} // namespace
