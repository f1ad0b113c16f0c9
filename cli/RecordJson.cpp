#include "RecordJson.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonValue>

namespace {

QJsonValue orNull(const std::optional<QString>& text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

} // namespace

QJsonObject RecordJson::pomodoro(const Pomodoro& pomodoro)
{
    return QJsonObject{
        {QStringLiteral("startTime"), pomodoro.startTime},
        {QStringLiteral("endTime"), pomodoro.endTime},
        {QStringLiteral("duration"), pomodoro.duration},
        {QStringLiteral("freeTimeDuration"), pomodoro.freeTimeDuration},
        {QStringLiteral("taskName"), orNull(pomodoro.taskName)},
        {QStringLiteral("task"),
         pomodoro.hasTaskInfo ? orNull(pomodoro.taskInfoName) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("cloudRecordID"), orNull(pomodoro.cloudRecordID)},
    };
}

QJsonObject RecordJson::session(const Session& session)
{
    return QJsonObject{
        {QStringLiteral("finishedAt"), session.finishedAt},
        {QStringLiteral("tasksCount"), session.tasksCount},
        {QStringLiteral("cloudRecordID"), orNull(session.cloudRecordID)},
    };
}

QJsonObject RecordJson::goal(const Goal& goal)
{
    return QJsonObject{
        {QStringLiteral("achieveAt"), goal.achieveAt},
        {QStringLiteral("tasksCount"), goal.tasksCount},
        {QStringLiteral("cloudRecordID"), orNull(goal.cloudRecordID)},
    };
}

QJsonObject RecordJson::day(QList<Pomodoro> pomodoros, QList<Session> sessions,
                            const std::optional<Goal>& goal)
{
    std::stable_sort(pomodoros.begin(), pomodoros.end());
    std::stable_sort(sessions.begin(), sessions.end());
    QJsonArray pomodoroArray;
    for (const Pomodoro& p : pomodoros)
        pomodoroArray.append(pomodoro(p));
    QJsonArray sessionArray;
    for (const Session& s : sessions)
        sessionArray.append(session(s));
    return QJsonObject{
        {QStringLiteral("pomodoros"), pomodoroArray},
        {QStringLiteral("sessions"), sessionArray},
        {QStringLiteral("goal"),
         goal ? QJsonValue(RecordJson::goal(*goal)) : QJsonValue(QJsonValue::Null)},
    };
}

QJsonObject RecordJson::task(const QString& name, const QString& color,
                             const std::optional<TaskInfo>& info, int executions, int timeDedicated)
{
    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("color"), color},
        {QStringLiteral("description"),
         info ? orNull(info->taskDescription) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("createdAt"),
         info ? QJsonValue(info->createdAt) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("executions"), executions},
        {QStringLiteral("timeDedicated"), timeDedicated},
    };
}

QJsonObject RecordJson::stats(const DataController::Stats& stats)
{
    return QJsonObject{
        {QStringLiteral("tasks"), stats.tasks},
        {QStringLiteral("sessions"), stats.sessions},
        {QStringLiteral("goals"), stats.goals},
        {QStringLiteral("thieves"), stats.thieves},
        {QStringLiteral("activities"), stats.activities},
    };
}

QJsonObject RecordJson::extensionData(const QVariantMap& data)
{
    return QJsonObject::fromVariantMap(data);
}
