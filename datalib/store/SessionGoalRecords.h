#pragma once

#include <optional>

#include <QList>

#include "store/Date.h"
#include "store/Goal.h"
#include "store/Session.h"

class CloudLink;
class StoreContext;

// Completed sessions and achieved daily goals.
class SessionGoalRecords {
public:
    SessionGoalRecords(StoreContext& context, CloudLink& cloud);

    void addSession(double dated, int tasksCount);
    std::optional<QList<Session>> sessions(Date since, Date to);
    std::optional<QList<Session>> unsyncedSessions();
    int sessionsFinished(Date onDate);
    void updateSession(const QString& cloudRecordID, Date finishedAt);
    void addSession(Date finishedAt, int tasksCount, const QString& cloudRecordID);

    void addGoal(double dated, int tasksInRow);
    std::optional<QList<Goal>> goals(Date since, Date to);
    std::optional<QList<Goal>> unsyncedGoals();
    void updateGoal(const QString& cloudRecordID, Date achievedAt);
    void addGoal(Date achieveAt, int tasksCount, const QString& cloudRecordID);

private:
    // Inserts a session or goal row (the two tables share their shape).
    bool insert(const char* sql, double at, int tasksCount, const std::optional<QString>& recordID);
    // Names the first row at that instant that has no cloud identity yet.
    void assignRecordID(const char* table, const char* selectSql, const char* updateSql,
                        const char* operation, const QString& recordID, Date at);
    template <typename Record>
    std::optional<QList<Record>> fetch(const char* sql, std::optional<std::pair<Date, Date>> range);

    StoreContext& m_context;
    CloudLink& m_cloud;
};
