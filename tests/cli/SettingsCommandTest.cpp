#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

#include "SettingsCommands.h"
#include "support/TestEnvironment.h"

namespace {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class SettingsCommand : public ::testing::Test {
protected:
    CliResult cli(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
        CliResult run;
        if (!process.waitForFinished(60000)) {
            ADD_FAILURE() << "zestra-cli did not finish: " << arguments.join(u' ').toStdString();
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    QByteArray get(const QString& key)
    {
        const CliResult run = cli({"settings", "get", key});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }

    // Where the README says the application keeps its settings.
    QString iniPath() const { return env.configHome() + QStringLiteral("/Zestra/Zestra.conf"); }

    QByteArray iniText() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestEnvironment env;
};

TEST_F(SettingsCommand, ListShowsEveryKeyWithItsDefault)
{
    const CliResult run = cli({"settings", "list"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject expected{
        {"ShowDockIcon", false},
        {"LaunchOnStartUp", true},
        {"ShowNotifications", true},
        {"ShowResetAdviceWindow", true},
        {"PomodorSessionTasks", 4},
        {"PomodoroLittleBreakTime", 5},
        {"PomodoroBigBreakTime", 20},
        {"PomodoroTaskTime", 25},
        {"PomodoroTodayGoal", 12},
        {"PomodoroAutoStart", true},
        {"PomodoroStartLaunch", true},
        {"POMODORO_SOUND_AT_END", true},
        {"BREAK_SOUND_AT_END", true},
        {"LastTaskComplete", "16/09/1975"},
        {"TasksFinishToday", 0},
        {"TasksInSessionsToday", 0},
        {"ThievesImported", false},
        {"ThievesOnboardingNotDone", true},
        {"ThievesScanAllowByUser", false},
        {"MigratedToCloud", false},
        {"SubscribedToCloudChanges", false},
        {"MigratedToTaskInfo", false},
        {"WelcomeOnboardingDone", false},
    };
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object(), expected) << run.out.toStdString();
    EXPECT_EQ(get(QStringLiteral("PomodoroTaskTime")), "25\n");
    EXPECT_EQ(get(QStringLiteral("ShowDockIcon")), "false\n");
    EXPECT_EQ(get(QStringLiteral("LastTaskComplete")), "\"16/09/1975\"\n");
    EXPECT_FALSE(QFile::exists(iniPath())) << "reading must not write the defaults";
}

TEST_F(SettingsCommand, SetThenGetRoundTripsThroughTheApplicationsFile)
{
    struct Row {
        QStringList value;
        const char* key;
        QByteArray printed;
        QByteArray iniLine;
    };
    const Row rows[] = {
        {{"50"}, "PomodoroTaskTime", "50\n", "PomodoroTaskTime=50\n"},
        {{"--", "-3"}, "TasksFinishToday", "-3\n", "TasksFinishToday=-3\n"},
        {{"54"}, "PomodoroTodayGoal", "54\n", "PomodoroTodayGoal=54\n"},
        {{"2147483647"},
         "TasksInSessionsToday",
         "2147483647\n",
         "TasksInSessionsToday=2147483647\n"},
        {{"yes"}, "ShowDockIcon", "true\n", "ShowDockIcon=true\n"},
        {{"FALSE"}, "ShowNotifications", "false\n", "ShowNotifications=false\n"},
        {{"01/02/2026"}, "LastTaskComplete", "\"01/02/2026\"\n", "LastTaskComplete=01/02/2026\n"},
    };
    for (const Row& row : rows) {
        const QString key = QString::fromLatin1(row.key);
        const CliResult set = cli(QStringList{"settings", "set", key} + row.value);
        ASSERT_EQ(set.exitCode, 0) << row.key << ": " << set.err.toStdString();
        EXPECT_TRUE(set.out.isEmpty());
        EXPECT_EQ(get(key), row.printed) << row.key;
        EXPECT_TRUE(iniText().contains(row.iniLine)) << row.iniLine.toStdString();
    }
    const QJsonObject listed = QJsonDocument::fromJson(cli({"settings", "list"}).out).object();
    EXPECT_EQ(listed.value("PomodoroTaskTime"), 50);
    EXPECT_EQ(listed.value("ShowDockIcon"), true);
    EXPECT_EQ(listed.value("LastTaskComplete"), "01/02/2026");

    // Text is printed as a JSON string, escapes and all.
    const QString text = QString::fromUtf8("say \"hi\" \u2615\\");
    ASSERT_EQ(cli({"settings", "set", "LastTaskComplete", text}).exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson("[" + get(QStringLiteral("LastTaskComplete")) + "]")
                  .array()
                  .at(0)
                  .toString(),
              text);
}

TEST_F(SettingsCommand, SeesWhatTheApplicationWrote)
{
    {
        QSettings application(iniPath(), QSettings::IniFormat);
        application.setValue(QStringLiteral("PomodoroBigBreakTime"), 30);
        application.setValue(QStringLiteral("PomodoroLittleBreakTime"), QStringLiteral("abc"));
    }
    EXPECT_EQ(get(QStringLiteral("PomodoroBigBreakTime")), "30\n");
    // Unreadable text falls back to the default, as in the application.
    EXPECT_EQ(get(QStringLiteral("PomodoroLittleBreakTime")), "5\n");
}

TEST_F(SettingsCommand, WrongKeysValuesAndShapesAreRefusedAndNothingIsWritten)
{
    const QList<QStringList> rows = {
        {"settings"},
        {"settings", "frobnicate"},
        {"settings", "list", "extra"},
        {"settings", "get"},
        {"settings", "get", "NoSuchKey"},
        {"settings", "get", "PomodoroTaskTime", "extra"},
        {"settings", "set", "PomodoroTaskTime"},
        {"settings", "set", "NoSuchKey", "1"},
        {"settings", "set", "pomodorotasktime", "1"},
        {"settings", "set", "PomodoroTaskTime", "abc"},
        {"settings", "set", "PomodoroTaskTime", "-5"},
        {"settings", "set", "ShowDockIcon", "maybe"},
        // Outside what the settings window offers.
        {"settings", "set", "PomodoroTaskTime", "0"},
        {"settings", "set", "PomodoroTaskTime", "61"},
        {"settings", "set", "PomodoroTaskTime", "40000000"},
        {"settings", "set", "PomodoroLittleBreakTime", "31"},
        {"settings", "set", "PomodoroBigBreakTime", "0"},
        {"settings", "set", "PomodorSessionTasks", "2"},
        {"settings", "set", "PomodorSessionTasks", "9"},
        {"settings", "set", "PomodoroTodayGoal", "55"},
        {"settings", "set", "PomodoroTodayGoal", "--", "-1"},
    };
    for (const QStringList& arguments : rows) {
        const CliResult run = cli(arguments);
        const std::string what = arguments.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, 2) << what;
        EXPECT_TRUE(run.out.isEmpty()) << what << ": " << run.out.toStdString();
        EXPECT_FALSE(run.err.trimmed().isEmpty()) << what;
    }
    EXPECT_FALSE(QFile::exists(iniPath()));

    ASSERT_EQ(cli({"settings", "set", "PomodoroTaskTime", "40"}).exitCode, 0);
    const QByteArray before = iniText();
    EXPECT_EQ(cli({"settings", "set", "PomodoroTaskTime", "forty"}).exitCode, 2);
    EXPECT_EQ(iniText(), before);
}

TEST_F(SettingsCommand, EdgesOfWhatTheWindowOffersAreTaken)
{
    const std::pair<const char*, const char*> rows[] = {
        {"PomodoroTaskTime", "1"},         {"PomodoroTaskTime", "60"},
        {"PomodoroLittleBreakTime", "30"}, {"PomodoroBigBreakTime", "60"},
        {"PomodorSessionTasks", "3"},      {"PomodorSessionTasks", "8"},
        {"PomodoroTodayGoal", "1"},        {"PomodoroTodayGoal", "54"},
    };
    for (const auto& [key, value] : rows) {
        const CliResult run = cli({"settings", "set", key, value});
        EXPECT_EQ(run.exitCode, 0) << key << " " << value << ": " << run.err.toStdString();
        EXPECT_EQ(get(QString::fromLatin1(key)), QByteArray(value) + "\n") << key;
    }
}

TEST_F(SettingsCommand, UnwritableFileFailsTheSet)
{
    // A file where the settings folder should be: refused even to root.
    QFile blocker(env.configHome() + QStringLiteral("/Zestra"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliResult run = cli({"settings", "set", "PomodoroTaskTime", "40"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
}

TEST(SettingsValue, TypedAsTheRegisteredDefault)
{
    struct Row {
        QVariant registered;
        const char* text;
        QVariant expected;
    };
    const Row rows[] = {
        {true, "true", true},
        {true, "No", false},
        {false, "YES", true},
        {false, "0", false},
        {false, "on", QVariant()},
        {false, "truee", QVariant()},
        {1, "0", 0},
        {1, "-2147483648", std::numeric_limits<int>::min()},
        {1, "007", 7},
        {1, "-2147483649", QVariant()},
        {1, "+5", QVariant()},
        {1, "5 ", QVariant()},
        {1, "0x10", QVariant()},
        {1, "\u0663", QVariant()},
        {QStringLiteral("x"), "", QString()},
        {QStringLiteral("x"), "12", QStringLiteral("12")},
    };
    for (const Row& row : rows) {
        QString error;
        const std::optional<QVariant> parsed =
            SettingsCommands::value(row.registered, QString::fromUtf8(row.text), error);
        if (!row.expected.isValid()) {
            EXPECT_FALSE(parsed) << row.text;
            EXPECT_FALSE(error.isEmpty()) << row.text;
            continue;
        }
        ASSERT_TRUE(parsed) << row.text << ": " << error.toStdString();
        EXPECT_EQ(parsed->typeId(), row.registered.typeId()) << row.text;
        EXPECT_EQ(*parsed, row.expected) << row.text;
    }
}

} // namespace
