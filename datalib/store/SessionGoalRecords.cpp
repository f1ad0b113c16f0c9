#include "store/SessionGoalRecords.h"

#include "Console.h"
#include "store/CloudLink.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"

namespace {

template <typename Record> Record recordFrom(const SqlQuery& query);

template <> Session recordFrom<Session>(const SqlQuery& query)
{
    return Session{query.doubleAt(0), query.intAt(1), query.textAt(2)};
}

template <> Goal recordFrom<Goal>(const SqlQuery& query)
{
    return Goal{query.doubleAt(0), query.intAt(1), query.textAt(2)};
}

} // namespace

SessionGoalRecords::SessionGoalRecords(StoreContext& context, CloudLink& cloud)
    : m_context(context)
    , m_cloud(cloud)
{}

bool SessionGoalRecords::insert(const char* sql, double at, int tasksCount,
                                const std::optional<QString>& recordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context, sql);
    query.bind(1, at).bind(2, tasksCount).bind(3, recordID);
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    m_context.saveContext();
    return true;
}

template <typename Record>
std::optional<QList<Record>> SessionGoalRecords::fetch(const char* sql,
                                                       std::optional<std::pair<Date, Date>> range)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, sql);
    if (range) {
        query.bind(1, range->first.beginningOfDay().timeIntervalSinceReferenceDate())
            .bind(2, range->second.endOfDay().timeIntervalSinceReferenceDate());
    }
    QList<Record> records;
    while (query.next())
        records.append(recordFrom<Record>(query));
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return records;
}

void SessionGoalRecords::assignRecordID(const char* table, const char* selectSql,
                                        const char* updateSql, const char* operation,
                                        const QString& recordID, Date at)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    long long id = 0;
    {
        SqlQuery query(m_context, selectSql);
        query.bind(1, at.timeIntervalSinceReferenceDate());
        if (!query.next()) {
            if (!query.ok())
                StoreLog::failure(operation, query.errorDescription());
            return;
        }
        id = query.int64At(0);
    }
    SqlQuery update(m_context, updateSql);
    update.bind(1, recordID).bindRow(2, id, table);
    if (!update.execWrite()) {
        StoreLog::failure(operation, update.errorDescription());
        return;
    }
    m_context.saveContext();
}

void SessionGoalRecords::addSession(double dated, int tasksCount)
{
    if (!insert("INSERT INTO Session (finishedAt, tasksCount, cloudRecordID) VALUES (?, ?, ?)",
                dated, tasksCount, std::nullopt))
        return;
    const Date finishedAt(dated);
    m_cloud.cloud()->saveSession(dated, tasksCount,
                                 m_cloud.assignOnMainQueue([this, finishedAt](const QString& id) {
                                     updateSession(id, finishedAt);
                                 }));
}

std::optional<QList<Session>> SessionGoalRecords::sessions(Date since, Date to)
{
    return fetch<Session>("SELECT finishedAt, tasksCount, cloudRecordID FROM Session "
                          "WHERE finishedAt >= ? AND finishedAt <= ?",
                          std::pair(since, to));
}

std::optional<QList<Session>> SessionGoalRecords::unsyncedSessions()
{
    return fetch<Session>("SELECT finishedAt, tasksCount, cloudRecordID FROM Session "
                          "WHERE cloudRecordID IS NULL",
                          std::nullopt);
}

int SessionGoalRecords::sessionsFinished(Date onDate)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context,
                   "SELECT count(*) FROM Session WHERE finishedAt >= ? AND finishedAt <= ?");
    query.bind(1, onDate.beginningOfDay().timeIntervalSinceReferenceDate())
        .bind(2, onDate.endOfDay().timeIntervalSinceReferenceDate());
    if (!query.next()) {
        Console::line(QStringLiteral("***Error: ") + query.debugDescription());
        return 0;
    }
    return query.intAt(0);
}

void SessionGoalRecords::updateSession(const QString& cloudRecordID, Date finishedAt)
{
    assignRecordID("Session",
                   "SELECT id FROM Session WHERE finishedAt = ? AND cloudRecordID IS NULL "
                   "ORDER BY id LIMIT 1",
                   "UPDATE Session SET cloudRecordID = ? WHERE id = ?",
                   "updateSession(cloudRecordID:finishedAt:)", cloudRecordID, finishedAt);
}

void SessionGoalRecords::addSession(Date finishedAt, int tasksCount, const QString& cloudRecordID)
{
    insert("INSERT INTO Session (finishedAt, tasksCount, cloudRecordID) VALUES (?, ?, ?)",
           finishedAt.timeIntervalSinceReferenceDate(), tasksCount, cloudRecordID);
}

void SessionGoalRecords::addGoal(double dated, int tasksInRow)
{
    if (!insert("INSERT INTO Goal (achieveAt, tasksCount, cloudRecordID) VALUES (?, ?, ?)", dated,
                tasksInRow, std::nullopt))
        return;
    const Date achievedAt(dated);
    m_cloud.cloud()->saveGoal(dated, tasksInRow,
                              m_cloud.assignOnMainQueue([this, achievedAt](const QString& id) {
                                  updateGoal(id, achievedAt);
                              }));
}

std::optional<QList<Goal>> SessionGoalRecords::goals(Date since, Date to)
{
    // Both ends excluded: a goal at local midnight belongs to no day's query.
    return fetch<Goal>("SELECT achieveAt, tasksCount, cloudRecordID FROM Goal "
                       "WHERE achieveAt > ? AND achieveAt < ?",
                       std::pair(since, to));
}

std::optional<QList<Goal>> SessionGoalRecords::unsyncedGoals()
{
    return fetch<Goal>("SELECT achieveAt, tasksCount, cloudRecordID FROM Goal "
                       "WHERE cloudRecordID IS NULL",
                       std::nullopt);
}

void SessionGoalRecords::updateGoal(const QString& cloudRecordID, Date achievedAt)
{
    assignRecordID("Goal",
                   "SELECT id FROM Goal WHERE achieveAt = ? AND cloudRecordID IS NULL "
                   "ORDER BY id LIMIT 1",
                   "UPDATE Goal SET cloudRecordID = ? WHERE id = ?",
                   "updateGoal(cloudRecordID:achievedAt:)", cloudRecordID, achievedAt);
}

void SessionGoalRecords::addGoal(Date achieveAt, int tasksCount, const QString& cloudRecordID)
{
    insert("INSERT INTO Goal (achieveAt, tasksCount, cloudRecordID) VALUES (?, ?, ?)",
           achieveAt.timeIntervalSinceReferenceDate(), tasksCount, cloudRecordID);
}
