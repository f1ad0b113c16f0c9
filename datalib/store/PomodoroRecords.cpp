#include "store/PomodoroRecords.h"

#include "Console.h"
#include "store/CloudLink.h"
#include "store/DayIndex.h"
#include "store/Localization.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"
#include "store/TaskCatalogue.h"

namespace {

#define SELECT_POMODORO                                                                            \
    "SELECT p.id, p.startTime, p.endTime, p.duration, p.freeTimeDuration, p.taskName, "            \
    "p.taskInfo IS NOT NULL, t.name, t.cloudRecordID, p.cloudRecordID "                            \
    "FROM Pomodoro p LEFT JOIN TaskInfo t ON t.id = p.taskInfo "

QString genericName()
{
    return Localization::text("POMODORO_GENERIC_NAME");
}

} // namespace

PomodoroRecords::PomodoroRecords(StoreContext& context, CloudLink& cloud, TaskCatalogue& catalogue)
    : m_context(context)
    , m_cloud(cloud)
    , m_catalogue(catalogue)
{}

PomodoroRecords::Row PomodoroRecords::rowFrom(const SqlQuery& query)
{
    Row row;
    row.id = query.int64At(0);
    Pomodoro& p = row.pomodoro;
    p.startTime = query.doubleAt(1);
    p.endTime = query.doubleAt(2);
    p.duration = query.intAt(3);
    p.freeTimeDuration = query.intAt(4);
    p.taskName = query.textAt(5);
    p.hasTaskInfo = query.intAt(6) != 0;
    p.taskInfoName = query.textAt(7);
    p.taskInfoCloudRecordID = query.textAt(8);
    p.cloudRecordID = query.textAt(9);
    return row;
}

std::optional<QList<Pomodoro>> PomodoroRecords::list(SqlQuery& query)
{
    QList<Pomodoro> result;
    while (query.next())
        result.append(rowFrom(query).pomodoro);
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return result;
}

int PomodoroRecords::count(SqlQuery& query)
{
    if (!query.next()) {
        StoreLog::error(query);
        return 0;
    }
    return query.intAt(0);
}

std::optional<QList<PomodoroRecords::Row>> PomodoroRecords::rowsStartedAt(Date startedAt,
                                                                          QString* error)
{
    SqlQuery query(m_context, SELECT_POMODORO "WHERE p.startTime = ? ORDER BY p.id");
    query.bind(1, startedAt.timeIntervalSinceReferenceDate());
    QList<Row> rows;
    while (query.next())
        rows.append(rowFrom(query));
    if (!query.ok()) {
        *error = query.errorDescription();
        return std::nullopt;
    }
    return rows;
}

bool PomodoroRecords::insert(const TaskParameter& parameter, std::optional<long long> taskInfo,
                             const std::optional<QString>& cloudRecordID)
{
    SqlQuery query(
        m_context,
        // A task deleted before this write reached the disk leaves the row unlinked, as the
        // delete would have had the row been there.
        "INSERT INTO Pomodoro (startTime, endTime, duration, freeTimeDuration, taskName, "
        "taskInfo, cloudRecordID) VALUES (?, ?, ?, ?, ?, (SELECT id FROM TaskInfo WHERE id = ?), "
        "?)");
    query.bind(1, parameter.startTime.value_or(0))
        .bind(2, parameter.endTime.value_or(0))
        .bind(3, static_cast<int>(parameter.duration.value_or(0)))
        .bind(4, static_cast<int>(parameter.freeTimeDuration.value_or(0)))
        .bind(5, taskInfo ? std::nullopt : std::optional<QString>(genericName()))
        .bind(7, cloudRecordID);
    if (taskInfo)
        query.bindRow(6, *taskInfo, "TaskInfo");
    else
        query.bind(6, std::optional<QString>());
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return true;
}

void PomodoroRecords::addTask(const TaskParameter& parameter)
{
    std::optional<QString> taskRecordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        std::optional<TaskCatalogue::Row> task;
        if (parameter.taskName)
            task = m_catalogue.rowNamed(*parameter.taskName, "fetchTaskInfo(named:)");
        std::optional<long long> taskInfo;
        if (task) {
            taskInfo = task->id;
            taskRecordID = task->info.cloudRecordID;
        }
        if (!insert(parameter, taskInfo, std::nullopt))
            return;
        m_context.saveContext();
    }
    const Date startedAt(parameter.startTime.value_or(0));
    m_cloud.cloud()->saveTask(parameter, taskRecordID,
                              m_cloud.assignOnMainQueue([this, startedAt](const QString& recordID) {
                                  updatePomodoro(recordID, startedAt);
                              }));
}

std::optional<QList<Pomodoro>> PomodoroRecords::pomodoros(Date since, Date to)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, SELECT_POMODORO "WHERE p.startTime >= ? AND p.startTime <= ?");
    query.bind(1, since.beginningOfDay().timeIntervalSinceReferenceDate())
        .bind(2, to.endOfDay().timeIntervalSinceReferenceDate());
    return list(query);
}

std::optional<QList<Pomodoro>> PomodoroRecords::pomodoros(const QString& named)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, SELECT_POMODORO "WHERE t.name = ? ORDER BY p.startTime");
    query.bind(1, named);
    return list(query);
}

std::optional<QList<Pomodoro>> PomodoroRecords::unsyncedPomodoros()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, SELECT_POMODORO "WHERE p.cloudRecordID IS NULL");
    return list(query);
}

std::optional<QList<Date>> PomodoroRecords::dates()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT DISTINCT startTime FROM Pomodoro ORDER BY startTime");
    QList<Date> result;
    while (query.next())
        result.append(Date(query.doubleAt(0)));
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return result;
}

int PomodoroRecords::tasksFinished(Date onDate)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context,
                   "SELECT count(*) FROM Pomodoro WHERE startTime >= ? AND startTime <= ?");
    query.bind(1, onDate.beginningOfDay().timeIntervalSinceReferenceDate())
        .bind(2, onDate.endOfDay().timeIntervalSinceReferenceDate());
    return count(query);
}

int PomodoroRecords::executions(const QString& ofTaskNamed)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT count(*) FROM Pomodoro WHERE taskInfo IN "
                              "(SELECT id FROM TaskInfo WHERE name = ?)");
    query.bind(1, ofTaskNamed);
    return count(query);
}

int PomodoroRecords::executions(const QString& ofTaskNamed, Date onDate)
{
    auto guard = m_context.lock();
    // Matches the stored name, so rows linked to a catalogued task are not counted.
    SqlQuery query(m_context, "SELECT count(*) FROM Pomodoro WHERE startTime >= ? AND "
                              "startTime <= ? AND taskName = ?");
    query.bind(1, onDate.beginningOfDay().timeIntervalSinceReferenceDate())
        .bind(2, onDate.endOfDay().timeIntervalSinceReferenceDate())
        .bind(3, ofTaskNamed);
    return count(query);
}

QList<int> PomodoroRecords::countPerDay(SqlQuery& query, const DayIndex& days, qsizetype dayCount)
{
    QList<int> counts(dayCount, 0);
    while (query.next()) {
        if (const auto day = days.dayOf(query.doubleAt(0)))
            ++counts[*day];
    }
    if (!query.ok()) {
        StoreLog::error(query);
        return QList<int>(dayCount, 0);
    }
    return counts;
}

QList<int> PomodoroRecords::tasksFinishedPerDay(const QList<Date>& onDates)
{
    const DayIndex days(onDates);
    if (days.isEmpty())
        return {};
    auto guard = m_context.lock();
    SqlQuery query(m_context,
                   "SELECT startTime FROM Pomodoro WHERE startTime >= ? AND startTime <= ?");
    query.bind(1, days.lowerBound().timeIntervalSinceReferenceDate())
        .bind(2, days.upperBound().timeIntervalSinceReferenceDate());
    return countPerDay(query, days, onDates.size());
}

QList<int> PomodoroRecords::executionsPerDay(const QString& ofRecordNamed,
                                             const QList<Date>& onDates)
{
    const DayIndex days(onDates);
    if (days.isEmpty())
        return {};
    auto guard = m_context.lock();
    const double lower = days.lowerBound().timeIntervalSinceReferenceDate();
    const double upper = days.upperBound().timeIntervalSinceReferenceDate();
    if (ofRecordNamed == genericName()) {
        // Reports group every task without a named task under the generic name. They are
        // many, so they are read in start order rather than through the task index.
        SqlQuery query(m_context,
                       "SELECT startTime FROM Pomodoro WHERE startTime >= ? AND startTime <= ? "
                       "AND (+taskInfo IS NULL OR +taskInfo IN (SELECT id FROM TaskInfo WHERE "
                       "name = ? OR name IS NULL OR name = ''))");
        query.bind(1, lower).bind(2, upper).bind(3, ofRecordNamed);
        return countPerDay(query, days, onDates.size());
    }
    // A few weeks read their days' rows in start order; a longer span reads the task's own
    // rows, which are then fewer than the span's.
    static constexpr double longSpan = 62 * Date::dayInterval;
    if (upper - lower > longSpan) {
        SqlQuery query(m_context,
                       "SELECT startTime FROM Pomodoro WHERE taskInfo IN (SELECT id FROM TaskInfo "
                       "WHERE name = ?) AND +startTime >= ? AND +startTime <= ?");
        query.bind(1, ofRecordNamed).bind(2, lower).bind(3, upper);
        return countPerDay(query, days, onDates.size());
    }
    SqlQuery query(m_context,
                   "SELECT startTime FROM Pomodoro WHERE startTime >= ? AND startTime <= ? AND "
                   "+taskInfo IN (SELECT id FROM TaskInfo WHERE name = ?)");
    query.bind(1, lower).bind(2, upper).bind(3, ofRecordNamed);
    return countPerDay(query, days, onDates.size());
}

int PomodoroRecords::timeDedicated(const QString& to)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT total(duration) FROM Pomodoro WHERE taskInfo IN "
                              "(SELECT id FROM TaskInfo WHERE name = ?)");
    query.bind(1, to);
    if (!query.next()) {
        StoreLog::error(query);
        return 0;
    }
    // A 32-bit sum, as the stored durations are.
    return static_cast<int>(static_cast<long long>(query.doubleAt(0)));
}

void PomodoroRecords::updatePomodoroName(const QString& name, Date startedAt)
{
    std::optional<QString> pomodoroRecordID;
    std::optional<QString> taskRecordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        QString error;
        const auto rows = rowsStartedAt(startedAt, &error);
        if (!rows) {
            StoreLog::prefixed("Update name error. ", error);
            return;
        }
        if (rows->size() != 1)
            return;
        QList<std::pair<long long, std::optional<QString>>> tasks;
        {
            SqlQuery query(m_context, "SELECT id, cloudRecordID FROM TaskInfo WHERE name = ?");
            query.bind(1, name);
            while (query.next())
                tasks.append({query.int64At(0), query.textAt(1)});
            if (!query.ok()) {
                StoreLog::prefixed("Update name error. ", query.errorDescription());
                return;
            }
        }
        if (tasks.size() != 1)
            return;
        SqlQuery update(m_context, "UPDATE Pomodoro SET taskInfo = "
                                   "(SELECT id FROM TaskInfo WHERE id = ?) WHERE id = ?");
        update.bindRow(1, tasks.first().first, "TaskInfo").bindRow(2, rows->first().id, "Pomodoro");
        if (!update.execWrite()) {
            StoreLog::prefixed("Update name error. ", update.errorDescription());
            return;
        }
        m_context.saveContext();
        pomodoroRecordID = rows->first().pomodoro.cloudRecordID;
        taskRecordID = tasks.first().second;
    }
    if (pomodoroRecordID && taskRecordID)
        m_cloud.cloud()->renameTaskReferenced(*pomodoroRecordID, *taskRecordID);
}

void PomodoroRecords::deletePomodoro(Date startedAt)
{
    std::optional<QString> recordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        QString error;
        const auto rows = rowsStartedAt(startedAt, &error);
        if (!rows) {
            StoreLog::prefixed("Delete Task error. ", error);
            return;
        }
        if (rows->size() != 1)
            return;
        SqlQuery remove(m_context, "DELETE FROM Pomodoro WHERE id = ?");
        remove.bindRow(1, rows->first().id, "Pomodoro");
        if (!remove.execWrite()) {
            StoreLog::prefixed("Delete Task error. ", remove.errorDescription());
            return;
        }
        m_context.saveContext();
        recordID = rows->first().pomodoro.cloudRecordID;
    }
    if (recordID)
        m_cloud.cloud()->deleteTask(*recordID);
}

void PomodoroRecords::updatePomodoro(const QString& cloudRecordID, Date startedAt)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    long long id = 0;
    {
        SqlQuery query(m_context, "SELECT id FROM Pomodoro WHERE startTime = ? AND "
                                  "cloudRecordID IS NULL ORDER BY id LIMIT 1");
        query.bind(1, startedAt.timeIntervalSinceReferenceDate());
        if (!query.next()) {
            if (query.ok()) {
                Console::line(
                    QStringLiteral("No se puede asignar ID: %1 -> %2")
                        .arg(cloudRecordID, startedAt.toDateTime().toString(Qt::ISODateWithMs)));
            } else {
                StoreLog::failure("updatePomodoro(cloudRecordID:startedAt:)",
                                  query.errorDescription());
            }
            return;
        }
        id = query.int64At(0);
    }
    SqlQuery update(m_context, "UPDATE Pomodoro SET cloudRecordID = ? WHERE id = ?");
    update.bind(1, cloudRecordID).bindRow(2, id, "Pomodoro");
    if (!update.execWrite()) {
        StoreLog::failure("updatePomodoro(cloudRecordID:startedAt:)", update.errorDescription());
        return;
    }
    m_context.saveContext();
}

void PomodoroRecords::addTask(const TaskParameter& parameter, const QString& withRecordID,
                              const std::optional<QString>& taskInfoID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    std::optional<long long> taskInfo;
    if (taskInfoID) {
        if (auto task = m_catalogue.rowWithID(*taskInfoID, "fetchTaskInfo(withID:)"))
            taskInfo = task->id;
    }
    if (insert(parameter, taskInfo, withRecordID))
        m_context.saveContext();
}

void PomodoroRecords::updateTask(const QString& taskInfoID, const QString& withRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    auto idsOf = [this](const char* sql, const QString& value) -> std::optional<QList<long long>> {
        SqlQuery query(m_context, sql);
        query.bind(1, value);
        QList<long long> ids;
        while (query.next())
            ids.append(query.int64At(0));
        if (!query.ok()) {
            StoreLog::failure("updateTask(taskInfoID:withRecordID:)", query.errorDescription());
            return std::nullopt;
        }
        return ids;
    };
    const auto pomodoros = idsOf("SELECT id FROM Pomodoro WHERE cloudRecordID = ?", withRecordID);
    if (!pomodoros || pomodoros->size() != 1)
        return;
    const auto tasks = idsOf("SELECT id FROM TaskInfo WHERE cloudRecordID = ?", taskInfoID);
    if (!tasks || tasks->size() != 1)
        return;
    SqlQuery update(m_context, "UPDATE Pomodoro SET taskInfo = "
                               "(SELECT id FROM TaskInfo WHERE id = ?) WHERE id = ?");
    update.bindRow(1, tasks->first(), "TaskInfo").bindRow(2, pomodoros->first(), "Pomodoro");
    if (!update.execWrite()) {
        StoreLog::failure("updateTask(taskInfoID:withRecordID:)", update.errorDescription());
        return;
    }
    m_context.saveContext();
}

void PomodoroRecords::deletePomodoro(const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    QList<long long> ids;
    {
        SqlQuery query(m_context, "SELECT id FROM Pomodoro WHERE cloudRecordID = ?");
        query.bind(1, cloudRecordID);
        while (query.next())
            ids.append(query.int64At(0));
        if (!query.ok()) {
            StoreLog::prefixed("Delete Task error. ", query.errorDescription());
            return;
        }
    }
    if (ids.size() != 1)
        return;
    SqlQuery remove(m_context, "DELETE FROM Pomodoro WHERE id = ?");
    remove.bindRow(1, ids.first(), "Pomodoro");
    if (!remove.execWrite()) {
        StoreLog::prefixed("Delete Task error. ", remove.errorDescription());
        return;
    }
    m_context.saveContext();
}
