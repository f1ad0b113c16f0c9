#include "timer/TimerFixture.h"

#include "dispatch/SerialQueue.h"
#include "settings/Settings.h"
#include "support/ManualClock.h"

namespace {

class ActivityTest : public TimerFixture {};

TEST_F(ActivityTest, TwentyFiveMinuteTaskCountsDownAndIsStored)
{
    const double started = env->clock().now();
    int storedAtFinishReport = -1;
    delegate->onFinishTask = [&] { storedAtFinishReport = storedPomodoros(); };

    manager->launch();
    settle();
    runSeconds(1499);
    ASSERT_EQ(delegate->taskUpdates.size(), 1500);
    EXPECT_EQ(delegate->taskUpdates.first(), 1499);
    EXPECT_EQ(delegate->taskUpdates.last(), 0);
    EXPECT_FALSE(log.contains(QStringLiteral("finishTask")));

    runSeconds(1);
    const int notified = log.indexOf(QStringLiteral("notify Time for a break"));
    const int finished = log.indexOf(QStringLiteral("finishTask"));
    ASSERT_GE(notified, 0);
    EXPECT_LT(notified, finished);
    EXPECT_EQ(storedAtFinishReport, 0);
    EXPECT_EQ(delegate->taskUpdates.size(), 1500);

    const auto pomodoros = *store->pomodorosForDate(Date(started));
    ASSERT_EQ(pomodoros.size(), 1);
    EXPECT_EQ(pomodoros[0].duration, 1500);
    EXPECT_EQ(pomodoros[0].freeTimeDuration, 300);
    EXPECT_DOUBLE_EQ(pomodoros[0].endTime, started + 1500);
    EXPECT_DOUBLE_EQ(pomodoros[0].startTime, started);
    EXPECT_EQ(notifications->delivered.first().identifier.left(18),
              QStringLiteral("velloran_pomodoro_"));

    // The break follows at once.
    EXPECT_EQ(log.last(), QStringLiteral("startFreeTime"));
    EXPECT_FALSE(activity().onActivity());
    EXPECT_EQ(activity().totaltime(), 300);
    EXPECT_EQ(sounds, QStringList{QStringLiteral("Break-Sound")});
}

TEST_F(ActivityTest, LengthStoredOutOfRangeIsTakenAsTheDefault)
{
    // Minutes that overflow when turned into seconds.
    setMinutes(Settings::PomodoroTaskTime, 40000000);
    manager->launch();
    settle();
    EXPECT_EQ(activity().totaltime(), 1500);
    runSeconds(1);
    ASSERT_FALSE(delegate->taskUpdates.isEmpty());
    EXPECT_EQ(delegate->taskUpdates.last(), 1498);
}

TEST_F(ActivityTest, PauseKeepsTheElapsedTimeAndResumeTakesTheNewLength)
{
    manager->launch();
    settle();
    runSeconds(99);
    EXPECT_EQ(activity().timelapse(), 100);

    activity().pause();
    runSeconds(50);
    EXPECT_EQ(activity().timelapse(), 100);
    EXPECT_EQ(delegate->taskUpdates.size(), 100);

    setMinutes(Settings::PomodoroTaskTime, 30);
    activity().start();
    settle();
    EXPECT_EQ(delegate->taskUpdates.last(), 1800 - 101);

    // A length already used up ends the task on the next tick, stored at the new length.
    activity().pause();
    setMinutes(Settings::PomodoroTaskTime, 1);
    activity().start();
    settle();
    EXPECT_FALSE(log.contains(QStringLiteral("finishTask")));
    runSeconds(1);
    ASSERT_TRUE(log.contains(QStringLiteral("finishTask")));
    const auto pomodoros = *store->pomodorosForDate(Date(env->clock().now()));
    ASSERT_EQ(pomodoros.size(), 1);
    EXPECT_EQ(pomodoros[0].duration, 60);
    EXPECT_DOUBLE_EQ(pomodoros[0].startTime, pomodoros[0].endTime - 60);
}

TEST_F(ActivityTest, SkipFreeTimeEndsABreakWithinTwoTicksAndNothingElse)
{
    setMinutes(Settings::PomodoroTaskTime, 1);
    manager->launch();
    settle();
    activity().skipFreeTime();
    EXPECT_EQ(activity().timelapse(), 1);

    runSeconds(60);
    ASSERT_FALSE(activity().onActivity());
    runSeconds(10);
    activity().skipFreeTime();
    runSeconds(1);
    EXPECT_EQ(delegate->freeTimeUpdates.last(), 0);
    EXPECT_FALSE(log.contains(QStringLiteral("finishFreeTime")));
    runSeconds(1);
    EXPECT_TRUE(log.contains(QStringLiteral("finishFreeTime")));
    EXPECT_TRUE(activity().onActivity());
}

TEST_F(ActivityTest, AutoStartDecidesWhetherTheNextTaskRuns)
{
    setMinutes(Settings::PomodoroTaskTime, 1);
    setMinutes(Settings::PomodoroLittleBreakTime, 1);
    for (bool autoStart : {true, false}) {
        SCOPED_TRACE(autoStart);
        setFlag(Settings::PomodoroAutoStart, autoStart);
        if (!activity().isRunning())
            activity().start();
        settle();
        runSeconds(activity().remaining() + 1); // the task
        runSeconds(activity().remaining() + 1); // the break
        EXPECT_TRUE(activity().onActivity());
        EXPECT_EQ(activity().remaining(), 60);
        EXPECT_EQ(activity().isRunning(), autoStart);
        EXPECT_EQ(sounds.last(), QStringLiteral("Task-Sound"));
        runSeconds(3);
        EXPECT_EQ(activity().remaining(), autoStart ? 57 : 60);
    }
}

TEST_F(ActivityTest, ResetRestartsThePhaseAndStartsOneNeverStarted)
{
    EXPECT_FALSE(activity().state().has_value());
    manager->resetTimer();
    settle();
    EXPECT_TRUE(activity().isRunning());

    runSeconds(30);
    manager->resetTimer();
    settle();
    EXPECT_TRUE(activity().isRunning());
    EXPECT_EQ(activity().timelapse(), 0);
    runSeconds(1);
    EXPECT_EQ(delegate->taskUpdates.last(), 1499);
    EXPECT_TRUE(sounds.isEmpty());
}

TEST_F(ActivityTest, WithoutNotificationsEverythingElseStillHappens)
{
    setFlag(Settings::ShowNotifications, false);
    setMinutes(Settings::PomodoroTaskTime, 1);
    manager->launch();
    settle();
    runSeconds(60);
    EXPECT_TRUE(notifications->delivered.isEmpty());
    EXPECT_EQ(storedPomodoros(), 1);
    EXPECT_TRUE(log.contains(QStringLiteral("finishTask")));
}

TEST_F(ActivityTest, StoredTaskCarriesTheChosenTaskName)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#f72020")));
    setMinutes(Settings::PomodoroTaskTime, 1);
    activity().setTaskName(QStringLiteral("Write"));
    manager->launch();
    settle();
    runSeconds(60);
    EXPECT_EQ(store->executions(QStringLiteral("Write")), 1);
}

TEST_F(ActivityTest, NoTickWhileNeverStartedOrPaused)
{
    runSeconds(5);
    EXPECT_TRUE(delegate->taskUpdates.isEmpty());
    activity().toggle();
    settle();
    EXPECT_EQ(delegate->taskUpdates.size(), 1);
    activity().toggle();
    runSeconds(5);
    EXPECT_EQ(delegate->taskUpdates.size(), 1);
    EXPECT_EQ(log.last(), QStringLiteral("pause"));
}

// A tick runs on the timer's queue and its report waits on the main queue; a pause that gets
// in between must not be overwritten by that report.
TEST_F(ActivityTest, AReportQueuedBeforeAPauseIsDroppedWhenItArrives)
{
    manager->launch();
    settle();
    ASSERT_EQ(delegate->taskUpdates.size(), 1);

    env->clock().advance(1.0);
    activity().queue().sync([] {});
    activity().pause();
    settle();
    EXPECT_EQ(delegate->taskUpdates.size(), 1);
    EXPECT_EQ(log.last(), QStringLiteral("pause"));

    // The second that elapsed is kept; the next tick after a resume counts on from it.
    activity().start();
    runSeconds(1);
    EXPECT_EQ(delegate->taskUpdates, (QList<int>{1499, 1497}));
}

// The end of a phase is decided on the timer's queue and carried out on the main queue; a pause
// in between holds the next phase instead of leaving the timer suspended twice and stuck.
TEST_F(ActivityTest, APauseBetweenAPhaseEndAndItsReactionHoldsTheNextPhase)
{
    manager->launch();
    settle();
    activity().setTimelapse(activity().totaltime());
    env->clock().advance(1.0);
    activity().queue().sync([] {});
    activity().pause();
    settle();

    EXPECT_EQ(storedPomodoros(), 1);
    EXPECT_FALSE(activity().onActivity());
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_EQ(log.last(), QStringLiteral("pause"));
    runSeconds(3);
    EXPECT_TRUE(delegate->freeTimeUpdates.isEmpty());
    EXPECT_EQ(activity().remaining(), 300);

    activity().start();
    settle();
    runSeconds(2);
    EXPECT_TRUE(activity().isRunning());
    EXPECT_EQ(delegate->freeTimeUpdates, (QList<int>{299, 298, 297}));
}

} // namespace
