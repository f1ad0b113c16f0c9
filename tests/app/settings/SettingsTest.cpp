#include <thread>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include "settings/Settings.h"
#include "support/TestEnvironment.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { settings.registerApplicationDefaults(); }

    QString iniPath() const { return env.configHome() + QStringLiteral("/Zestra/Zestra.conf"); }

    // As a person with an editor, or another process that shares no cache with this one,
    // would leave the file.
    void writeIni(const QByteArray& text) const
    {
        ASSERT_TRUE(QDir().mkpath(env.configHome() + QStringLiteral("/Zestra")));
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QByteArray readIni() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestEnvironment env;
    Settings settings;
};

TEST_F(SettingsTest, FileFollowsTheConfigFolderOfTheMoment)
{
    EXPECT_EQ(settings.filePath(), iniPath());
    TestEnvironment other;
    EXPECT_EQ(settings.filePath(), other.configHome() + QStringLiteral("/Zestra/Zestra.conf"));
}

TEST_F(SettingsTest, FreshStoreAnswersTheRegisteredDefaults)
{
    struct Row {
        const char* key;
        QVariant expected;
    };
    const Row rows[] = {
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
        {"LastTaskComplete", QStringLiteral("16/09/1975")},
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
    QStringList order;
    for (const Row& row : rows) {
        const QString key = QString::fromLatin1(row.key);
        order.append(key);
        ASSERT_EQ(settings.registeredDefault(key)->typeId(), row.expected.typeId()) << row.key;
        switch (row.expected.typeId()) {
        case QMetaType::Bool:
            EXPECT_EQ(settings.boolValue(key), row.expected.toBool()) << row.key;
            break;
        case QMetaType::Int:
            EXPECT_EQ(settings.intValue(key), row.expected.toInt()) << row.key;
            break;
        default:
            EXPECT_EQ(settings.stringValue(key), row.expected.toString()) << row.key;
        }
    }
    EXPECT_EQ(settings.registeredKeys(), order);
    EXPECT_FALSE(QFile::exists(iniPath())) << "defaults are never written";
}

TEST_F(SettingsTest, UnregisteredKeysAnswerNothingUntilWritten)
{
    Settings bare;
    EXPECT_FALSE(bare.boolValue(QStringLiteral("ShowNotifications")));
    EXPECT_EQ(bare.intValue(QStringLiteral("PomodoroTaskTime")), 0);
    EXPECT_EQ(bare.stringValue(QStringLiteral("LastTaskComplete")), std::nullopt);

    const QString token = QStringLiteral("CloudChangeToken");
    EXPECT_EQ(settings.stringValue(token), std::nullopt);
    EXPECT_TRUE(settings.setString(token, QStringLiteral("after 42, zone a")));
    EXPECT_EQ(bare.stringValue(token), QStringLiteral("after 42, zone a"));
    EXPECT_TRUE(settings.remove(token));
    EXPECT_EQ(bare.stringValue(token), std::nullopt);
}

TEST_F(SettingsTest, RegisteringAgainTakesTheNewerFallbackButNeverAStoredValue)
{
    settings.setInt(QStringLiteral("PomodoroTaskTime"), 50);
    settings.registerDefaults(
        {{QStringLiteral("PomodoroTaskTime"), 30}, {QStringLiteral("PomodoroBigBreakTime"), 15}});
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTaskTime")), 50);
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroBigBreakTime")), 15);
    EXPECT_EQ(settings.registeredKeys().indexOf(QStringLiteral("PomodoroBigBreakTime")), 6);

    Settings relaunched;
    relaunched.registerApplicationDefaults();
    EXPECT_EQ(relaunched.intValue(QStringLiteral("PomodoroTaskTime")), 50);
    EXPECT_EQ(relaunched.intValue(QStringLiteral("PomodoroBigBreakTime")), 20);
    EXPECT_FALSE(readIni().contains("PomodoroBigBreakTime"));
}

TEST_F(SettingsTest, WritesReachTheFileAsPlainText)
{
    settings.setBool(QStringLiteral("ShowDockIcon"), true);
    settings.setBool(QStringLiteral("ShowNotifications"), false);
    settings.setInt(QStringLiteral("PomodoroTaskTime"), 50);
    settings.setInt(QStringLiteral("TasksFinishToday"), -3);
    settings.setString(QStringLiteral("LastTaskComplete"), QStringLiteral("01/02/2026"));

    const QByteArray text = readIni();
    for (const char* line :
         {"ShowDockIcon=true\n", "ShowNotifications=false\n", "PomodoroTaskTime=50\n",
          "TasksFinishToday=-3\n", "LastTaskComplete=01/02/2026\n"})
        EXPECT_TRUE(text.contains(line)) << line << " in\n" << text.toStdString();

    Settings relaunched;
    EXPECT_TRUE(relaunched.boolValue(QStringLiteral("ShowDockIcon")));
    EXPECT_FALSE(relaunched.boolValue(QStringLiteral("ShowNotifications")));
    EXPECT_EQ(relaunched.intValue(QStringLiteral("PomodoroTaskTime")), 50);
    EXPECT_EQ(relaunched.intValue(QStringLiteral("TasksFinishToday")), -3);
    EXPECT_EQ(relaunched.stringValue(QStringLiteral("LastTaskComplete")),
              QStringLiteral("01/02/2026"));
}

TEST_F(SettingsTest, HandWrittenValuesAreReadOrFallBack)
{
    writeIni("[General]\n"
             "ShowDockIcon=TRUE\n"
             "LaunchOnStartUp=0\n"
             "ShowNotifications=maybe\n"
             "PomodoroTaskTime= 30 \n"
             "PomodoroBigBreakTime=abc\n"
             "PomodoroTodayGoal=7.5\n"
             "PomodorSessionTasks=99999999999\n"
             "PomodoroLittleBreakTime=true\n"
             "LastTaskComplete=a, b\n"
             "Unregistered=abc\n");
    EXPECT_TRUE(settings.boolValue(QStringLiteral("ShowDockIcon")));
    EXPECT_FALSE(settings.boolValue(QStringLiteral("LaunchOnStartUp")));
    EXPECT_TRUE(settings.boolValue(QStringLiteral("ShowNotifications")));
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTaskTime")), 30);
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroBigBreakTime")), 20);
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTodayGoal")), 12);
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodorSessionTasks")), 4);
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroLittleBreakTime")), 5);
    EXPECT_EQ(settings.stringValue(QStringLiteral("LastTaskComplete")),
              QStringLiteral("16/09/1975"));
    EXPECT_EQ(settings.intValue(QStringLiteral("Unregistered")), 0);
    EXPECT_FALSE(settings.boolValue(QStringLiteral("Unregistered")));
    EXPECT_EQ(settings.stringValue(QStringLiteral("Unregistered")), QStringLiteral("abc"));
}

TEST_F(SettingsTest, ChangesFromOutsideAreSeenAtTheNextRead)
{
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTaskTime")), 25);
    {
        QSettings other(iniPath(), QSettings::IniFormat);
        other.setValue(QStringLiteral("PomodoroTaskTime"), 40);
    }
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTaskTime")), 40);

    // Another process shares no in-memory copy of the file with this one.
    writeIni("[General]\nPomodoroTaskTime=45\nShowDockIcon=true\n");
    EXPECT_EQ(settings.intValue(QStringLiteral("PomodoroTaskTime")), 45);
    EXPECT_TRUE(settings.boolValue(QStringLiteral("ShowDockIcon")));

    // A write merges with what the other process left rather than replacing it.
    settings.setBool(QStringLiteral("ShowNotifications"), false);
    EXPECT_TRUE(readIni().contains("PomodoroTaskTime=45"));
}

TEST_F(SettingsTest, WritesFromTwoThreadsLoseNothing)
{
    constexpr int perThread = 100;
    const QString counter = QStringLiteral("TasksFinishToday");
    const auto writer = [&](const QString& prefix) {
        for (int i = 0; i < perThread; ++i) {
            settings.setInt(prefix + QString::number(i), i);
            settings.addToInt(counter, 1);
        }
    };
    std::thread first(writer, QStringLiteral("First"));
    std::thread second(writer, QStringLiteral("Second"));
    first.join();
    second.join();

    QSettings file(iniPath(), QSettings::IniFormat);
    EXPECT_EQ(file.value(counter).toInt(), 2 * perThread);
    for (int i = 0; i < perThread; ++i) {
        EXPECT_EQ(file.value(QStringLiteral("First") + QString::number(i)).toInt(), i);
        EXPECT_EQ(file.value(QStringLiteral("Second") + QString::number(i)).toInt(), i);
    }
}

TEST_F(SettingsTest, NumbersOutsideWhatTheWindowOffersReadAsTheDefault)
{
    // As an editor or another program could leave them.
    writeIni("[General]\nPomodoroTaskTime=40000000\nPomodoroLittleBreakTime=31\n"
             "PomodoroBigBreakTime=0\nPomodorSessionTasks=9\nPomodoroTodayGoal=54\n"
             "TasksFinishToday=1000\n");
    EXPECT_EQ(settings.validIntValue(Settings::PomodoroTaskTime), 25);
    EXPECT_EQ(settings.validIntValue(Settings::PomodoroLittleBreakTime), 5);
    EXPECT_EQ(settings.validIntValue(Settings::PomodoroBigBreakTime), 20);
    EXPECT_EQ(settings.validIntValue(Settings::PomodorSessionTasks), 4);
    EXPECT_EQ(settings.validIntValue(Settings::PomodoroTodayGoal), 54);
    // Counters have no range.
    EXPECT_EQ(settings.validIntValue(Settings::TasksFinishToday), 1000);
    // The stored values themselves are left as they are.
    EXPECT_EQ(settings.intValue(Settings::PomodoroTaskTime), 40000000);

    // Without registered defaults, the application's own stand in.
    Settings bare;
    EXPECT_EQ(bare.validIntValue(Settings::PomodoroTaskTime), 25);
    EXPECT_EQ(Settings::allowedRange(Settings::PomodorSessionTasks)->minimum, 3);
    EXPECT_FALSE(Settings::allowedRange(Settings::LastTaskComplete));
}

TEST_F(SettingsTest, SharedSettingsHaveTheApplicationDefaults)
{
    EXPECT_EQ(Settings::shared().intValue(QStringLiteral("PomodoroTaskTime")), 25);
    EXPECT_EQ(Settings::shared().registeredKeys().size(), 23);
}

} // namespace
