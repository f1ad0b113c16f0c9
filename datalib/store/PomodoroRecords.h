#pragma once

#include <optional>

#include <QList>

#include "store/Date.h"
#include "store/Pomodoro.h"
#include "store/TaskParameter.h"

class CloudLink;
class DayIndex;
class SqlQuery;
class StoreContext;
class TaskCatalogue;

// Finished task intervals: recording, day and task queries, re-linking and deletion.
class PomodoroRecords {
public:
    PomodoroRecords(StoreContext& context, CloudLink& cloud, TaskCatalogue& catalogue);

    void addTask(const TaskParameter& parameter);
    std::optional<QList<Pomodoro>> pomodoros(Date since, Date to);
    std::optional<QList<Pomodoro>> pomodoros(const QString& named);
    std::optional<QList<Pomodoro>> unsyncedPomodoros();
    std::optional<QList<Date>> dates();
    int tasksFinished(Date onDate);
    int executions(const QString& ofTaskNamed);
    int executions(const QString& ofTaskNamed, Date onDate);
    QList<int> tasksFinishedPerDay(const QList<Date>& onDates);
    QList<int> executionsPerDay(const QString& ofRecordNamed, const QList<Date>& onDates);
    int timeDedicated(const QString& to);

    void updatePomodoroName(const QString& name, Date startedAt);
    void deletePomodoro(Date startedAt);
    void updatePomodoro(const QString& cloudRecordID, Date startedAt);

    void addTask(const TaskParameter& parameter, const QString& withRecordID,
                 const std::optional<QString>& taskInfoID);
    void updateTask(const QString& taskInfoID, const QString& withRecordID);
    void deletePomodoro(const QString& cloudRecordID);

private:
    struct Row {
        long long id = 0;
        Pomodoro pomodoro;
    };

    static Row rowFrom(const SqlQuery& query);
    std::optional<QList<Pomodoro>> list(SqlQuery& query);
    // Every row that started at that instant; absent when the fetch failed.
    std::optional<QList<Row>> rowsStartedAt(Date startedAt, QString* error);
    int count(SqlQuery& query);
    // Counts the start times the query returns into the days of `days`; zeros on failure.
    static QList<int> countPerDay(SqlQuery& query, const DayIndex& days, qsizetype dayCount);
    bool insert(const TaskParameter& parameter, std::optional<long long> taskInfo,
                const std::optional<QString>& cloudRecordID);

    StoreContext& m_context;
    CloudLink& m_cloud;
    TaskCatalogue& m_catalogue;
};
