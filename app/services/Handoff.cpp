#include "services/Handoff.h"

#include <mutex>

#include "NotificationCenter.h"
#include "timer/ActivityDelegate.h"
#include "timer/ActivityManager.h"
#include "timer/WorkSessionDelegate.h"

namespace {

std::mutex& currentMutex()
{
    static std::mutex m;
    return m;
}

QVariantMap& currentRecord()
{
    static QVariantMap record;
    return record;
}

// The value under key when it has the given type.
template <typename T> std::optional<T> typed(const QVariantMap& info, const char* key)
{
    const QVariant value = info.value(QLatin1String(key));
    if (value.metaType() != QMetaType::fromType<T>())
        return std::nullopt;
    return value.value<T>();
}

} // namespace

QString Handoff::activityType()
{
    return QLatin1String(kProductIdentifier) + QStringLiteral("./handoff_timer");
}

QVariantMap Handoff::userInfo(ActivityManager& manager)
{
    Activity& activity = manager.activityPomodoro();
    const std::optional<QString> task = activity.taskName();
    return {
        {QStringLiteral("current_time"), activity.timelapse()},
        {QStringLiteral("task"), task ? QVariant(*task) : QVariant::fromValue(nullptr)},
        {QStringLiteral("current_session"), manager.sessionPomodoro().currentTask()},
        {QStringLiteral("current_goal"), manager.goalPomodoro().currentTask()},
        {QStringLiteral("on_activity"), activity.onActivity()},
        {QStringLiteral("is_paused"), activity.state() == Activity::State::stopped},
    };
}

void Handoff::publish(ActivityManager& manager)
{
    const QVariantMap record = userInfo(manager);
    bool changed = false;
    {
        std::lock_guard lock(currentMutex());
        QVariantMap previous = currentRecord();
        QVariantMap next = record;
        // The elapsed time changes every second; only the rest is news to an observer.
        previous.remove(QStringLiteral("current_time"));
        next.remove(QStringLiteral("current_time"));
        changed = previous != next;
        currentRecord() = record;
    }
    if (changed)
        NotificationCenter::defaultCenter().post(QLatin1String(changedNotification), record);
}

QVariantMap Handoff::current()
{
    std::lock_guard lock(currentMutex());
    return currentRecord();
}

bool Handoff::restore(ActivityManager& manager, const QVariantMap& userInfo)
{
    if (userInfo.isEmpty())
        return false;
    const auto currentTime = typed<int>(userInfo, "current_time");
    const auto currentSession = typed<int>(userInfo, "current_session");
    const auto currentGoal = typed<int>(userInfo, "current_goal");
    const auto onActivity = typed<bool>(userInfo, "on_activity");
    const auto isPaused = typed<bool>(userInfo, "is_paused");
    if (!currentTime || !currentSession || !currentGoal || !onActivity || !isPaused)
        return false;

    Activity& activity = manager.activityPomodoro();
    if (const auto task = typed<QString>(userInfo, "task")) {
        activity.setTaskName(*task);
        NotificationCenter::defaultCenter().post(QLatin1String(taskNamedNotification),
                                                 {{QStringLiteral("task_name"), *task}});
    }
    activity.setTimelapse(*currentTime);
    manager.sessionPomodoro().setCurrentTask(*currentSession);
    manager.goalPomodoro().setCurrentTask(*currentGoal);
    activity.setOnActivity(*onActivity);

    if (auto* delegate = activity.delegate()) {
        const int remaining = activity.totaltime() - activity.timelapse();
        if (*onActivity)
            delegate->activityDidUpdateTask(activity, remaining);
        else
            delegate->activityDidUpdateFreeTime(activity, remaining);
    }
    for (WorkSession* counter : {&manager.sessionPomodoro(), &manager.goalPomodoro()}) {
        if (auto* delegate = counter->delegate())
            delegate->workSessionDidRefresh(*counter);
    }
    if (*isPaused && activity.isRunning())
        activity.pause();
    return true;
}
