#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QObject>
#include <QStringList>

#include "UserNotificationCenter.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"
#include "timer/ActivityDelegate.h"
#include "timer/ActivityManager.h"
#include "timer/PhaseReactions.h"

// Keeps every notification instead of showing it.
class RecordingNotificationCenter : public UserNotificationCenter {
public:
    explicit RecordingNotificationCenter(QStringList& log)
        : m_log(log)
    {}
    void deliver(const UserNotification& notification) override
    {
        delivered.append(notification);
        m_log.append(QStringLiteral("notify ") + notification.title);
    }
    QList<UserNotification> delivered;

private:
    QStringList& m_log;
};

// Stands where the activity panel will: logs each report and carries out the reactions.
class RecordingDelegate : public QObject, public ActivityDelegate {
public:
    RecordingDelegate(QStringList& log, PhaseReactions& reactions)
        : m_log(log)
        , m_reactions(reactions)
    {}
    void activityDidUpdateTask(Activity&, int remaining) override { taskUpdates.append(remaining); }
    void activityDidUpdateFreeTime(Activity&, int remaining) override
    {
        freeTimeUpdates.append(remaining);
    }
    void activityDidStartTask(Activity&) override { m_log.append(QStringLiteral("startTask")); }
    void activityDidFinishTask(Activity&) override
    {
        m_log.append(QStringLiteral("finishTask"));
        if (onFinishTask)
            onFinishTask();
        m_reactions.taskDidFinish();
    }
    void activityDidStartFreeTime(Activity&) override
    {
        m_log.append(QStringLiteral("startFreeTime"));
    }
    void activityDidFinishFreeTime(Activity&) override
    {
        m_log.append(QStringLiteral("finishFreeTime"));
        m_reactions.freeTimeDidFinish();
    }
    void activityDidPause(Activity&) override { m_log.append(QStringLiteral("pause")); }

    QList<int> taskUpdates;
    QList<int> freeTimeUpdates;
    std::function<void()> onFinishTask;

private:
    QStringList& m_log;
    PhaseReactions& m_reactions;
};

// A fresh world with the timer's whole machinery and a clock that moves only when told.
class TimerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the manager as a launch would (the counters read today's counts).
    void createManager();
    void destroyManager();
    // Moves the clock second by second, letting each tick and its reports run.
    void runSeconds(int seconds);
    // Lets the ticks and main-thread reports already due run.
    void settle();
    int storedPomodoros();
    Activity& activity() { return manager->activityPomodoro(); }
    void setMinutes(const char* key, int minutes);
    void setFlag(const char* key, bool value);

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<DataController> store;
    QStringList log;
    QStringList sounds;
    std::unique_ptr<RecordingNotificationCenter> notifications;
    std::unique_ptr<ActivityManager> manager;
    std::unique_ptr<PhaseReactions> reactions;
    std::unique_ptr<RecordingDelegate> delegate;
};
