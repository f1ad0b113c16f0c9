#include "timer/TimerFixture.h"

#include "DesktopNotificationCenter.h"
#include "support/ManualClock.h"
#include "settings/Settings.h"
#include "support/FakeNotificationServer.h"
#include "support/PrivateBus.h"
#include "timer/DayCounts.h"

namespace {

class ActivityManagerTest : public TimerFixture {
protected:
    void SetUp() override
    {
        TimerFixture::SetUp();
        setMinutes(Settings::PomodoroTaskTime, 1);
        setMinutes(Settings::PomodoroLittleBreakTime, 1);
        setMinutes(Settings::PomodoroBigBreakTime, 2);
    }

    // Runs the current phase to its end (the reactions start the next one).
    void finishPhase()
    {
        if (!activity().isRunning())
            activity().start();
        settle();
        runSeconds(activity().remaining() + 1);
    }

    void finishTasks(int count)
    {
        for (int i = 0; i < count; ++i) {
            if (!activity().onActivity())
                finishPhase();
            finishPhase();
        }
    }

    QStringList taskEndSounds() const
    {
        QStringList result = sounds;
        result.removeAll(QStringLiteral("Task-Sound"));
        return result;
    }
};

TEST_F(ActivityManagerTest, FourthTaskCompletesTheSessionAndEarnsTheLongBreak)
{
    manager->launch();
    finishTasks(3);
    EXPECT_FALSE(activity().lastTaskOnSession());
    EXPECT_EQ(activity().totaltime(), 60);

    finishTasks(1);
    EXPECT_TRUE(activity().lastTaskOnSession());
    EXPECT_EQ(activity().totaltime(), 120);
    const auto sessions = *store->sessionsForDate(Date(env->clock().now()));
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(sessions[0].tasksCount, 4);
    EXPECT_TRUE(log.contains(QStringLiteral("notify Session complete")));
    // The fourth pomodoro was stored with the short break it was configured with.
    const auto pomodoros = *store->pomodorosForDate(Date(env->clock().now()));
    EXPECT_EQ(std::max_element(pomodoros.begin(), pomodoros.end())->freeTimeDuration, 60);

    finishPhase();
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 0);
    EXPECT_FALSE(activity().lastTaskOnSession());
    finishTasks(1);
    EXPECT_EQ(activity().totaltime(), 60);
}

TEST_F(ActivityManagerTest, TwelfthTaskReachesTheGoalAndLaterTasksAreSilent)
{
    manager->launch();
    finishTasks(11);
    EXPECT_EQ(taskEndSounds(), QStringList(11, QStringLiteral("Break-Sound")));
    EXPECT_FALSE(store->goalForDate(Date(env->clock().now())).has_value());

    finishTasks(1);
    EXPECT_EQ(taskEndSounds().last(), QStringLiteral("Goal-Sound"));
    const auto goal = store->goalForDate(Date(env->clock().now()));
    ASSERT_TRUE(goal.has_value());
    EXPECT_EQ(goal->tasksCount, 12);
    const auto goalNote = std::find_if(
        notifications->delivered.begin(), notifications->delivered.end(),
        [](const UserNotification& n) { return n.title == QStringLiteral("Daily goal reached"); });
    ASSERT_NE(goalNote, notifications->delivered.end());
    EXPECT_TRUE(goalNote->identifier.startsWith(QStringLiteral("velloran_pomodoro_session_")));
    EXPECT_TRUE(goalNote->contentImage.contains("<svg"));

    finishTasks(1);
    EXPECT_EQ(taskEndSounds().size(), 12);
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 12);
    EXPECT_EQ(store->stats().goals, 1);
}

TEST_F(ActivityManagerTest, SmallerSessionSizeMakesTheNextBreakLongWithoutARecord)
{
    manager->launch();
    finishTasks(3);
    ASSERT_FALSE(activity().lastTaskOnSession());
    Settings::shared().setInt(QLatin1String(Settings::PomodorSessionTasks), 3);
    manager->setSessionTotal(3);
    EXPECT_TRUE(activity().lastTaskOnSession());
    EXPECT_EQ(store->stats().sessions, 0);
    EXPECT_FALSE(log.contains(QStringLiteral("notify Session complete")));
}

TEST_F(ActivityManagerTest, DayCountsSurviveARestartOnTheSameDayOnly)
{
    manager->launch();
    finishTasks(2);
    manager->sessionPomodoro().reset();
    destroyManager();

    createManager();
    manager->launch();
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 2);
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 2);
    destroyManager();

    env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-11T09:00:00")));
    createManager();
    manager->launch();
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 0);
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 0);
    EXPECT_EQ(DayCounts::today(), QStringLiteral("11/06/2026"));
}

TEST_F(ActivityManagerTest, LaunchStartsTheTimerOnlyWhenAsked)
{
    setFlag(Settings::PomodoroStartLaunch, false);
    manager->launch();
    settle();
    EXPECT_FALSE(activity().state().has_value());
    EXPECT_TRUE(delegate->taskUpdates.isEmpty());
}

TEST_F(ActivityManagerTest, NotificationsReachTheDesktopServer)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeNotificationServer server(bus.address());
    ASSERT_TRUE(server.isRegistered());
    DesktopNotificationCenter desktop(bus.address());
    UserNotificationCenter::setShared(&desktop);
    Settings::shared().setInt(QLatin1String(Settings::PomodoroTodayGoal), 1);

    manager->launch();
    finishTasks(1);
    ASSERT_TRUE(server.waitForNotifications(2));
    UserNotificationCenter::setShared(notifications.get());

    const auto received = server.received();
    EXPECT_EQ(received[0].summary, QStringLiteral("Time for a break"));
    EXPECT_TRUE(received[0]
                    .hints.value(QStringLiteral("x-zestra-identifier"))
                    .toString()
                    .startsWith(QStringLiteral("velloran_pomodoro_")));
    EXPECT_EQ(received[1].summary, QStringLiteral("Daily goal reached"));
    EXPECT_TRUE(received[1]
                    .hints.value(QStringLiteral("x-zestra-identifier"))
                    .toString()
                    .startsWith(QStringLiteral("velloran_pomodoro_session_")));
    ASSERT_TRUE(received[1].image.has_value());
    EXPECT_EQ(received[1].image->width, 128);
}

} // namespace
