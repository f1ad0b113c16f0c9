#include "store/TaskCatalogue.h"

#include "Console.h"
#include "store/CloudLink.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"

namespace {

std::optional<QStringList> namesOf(SqlQuery& query)
{
    QStringList names;
    while (query.next()) {
        if (auto name = query.textAt(0))
            names.append(*name);
    }
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return names;
}

} // namespace

TaskCatalogue::TaskCatalogue(StoreContext& context, CloudLink& cloud)
    : m_context(context)
    , m_cloud(cloud)
{}

TaskCatalogue::Row TaskCatalogue::rowFrom(const SqlQuery& query)
{
    Row row;
    row.id = query.int64At(0);
    row.info.name = query.textAt(1);
    row.info.color = query.textAt(2);
    row.info.createdAt = query.doubleAt(3);
    row.info.taskDescription = query.textAt(4);
    row.info.cloudRecordID = query.textAt(5);
    return row;
}

bool TaskCatalogue::existsTaskInfo(const QString& named)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT count(*) FROM TaskInfo WHERE name = ?");
    query.bind(1, named);
    if (!query.next()) {
        StoreLog::error(query);
        return false;
    }
    return query.intAt(0) > 0;
}

std::optional<TaskCatalogue::Row> TaskCatalogue::rowNamed(const QString& name,
                                                          const char* operation)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT id, name, color, createdAt, taskDescription, cloudRecordID "
                              "FROM TaskInfo WHERE name = ? ORDER BY id LIMIT 1");
    query.bind(1, name);
    if (query.next())
        return rowFrom(query);
    if (!query.ok())
        StoreLog::failure(operation, query.errorDescription());
    return std::nullopt;
}

std::optional<TaskCatalogue::Row> TaskCatalogue::rowWithID(const QString& cloudRecordID,
                                                           const char* operation)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT id, name, color, createdAt, taskDescription, cloudRecordID "
                              "FROM TaskInfo WHERE cloudRecordID = ? ORDER BY id LIMIT 1");
    query.bind(1, cloudRecordID);
    if (query.next())
        return rowFrom(query);
    if (!query.ok())
        StoreLog::failure(operation, query.errorDescription());
    return std::nullopt;
}

std::optional<TaskInfo> TaskCatalogue::fetchTaskInfo(const QString& named)
{
    if (auto row = rowNamed(named, "fetchTaskInfo(named:)"))
        return row->info;
    return std::nullopt;
}

std::optional<TaskInfo> TaskCatalogue::fetchTaskInfoWithID(const QString& withID)
{
    if (auto row = rowWithID(withID, "fetchTaskInfo(withID:)"))
        return row->info;
    return std::nullopt;
}

std::optional<QList<TaskCatalogue::Row>> TaskCatalogue::rowsNamed(const QString& name,
                                                                  QString* error)
{
    SqlQuery query(m_context, "SELECT id, name, color, createdAt, taskDescription, cloudRecordID "
                              "FROM TaskInfo WHERE name = ? ORDER BY id");
    query.bind(1, name);
    QList<Row> rows;
    while (query.next())
        rows.append(rowFrom(query));
    if (!query.ok()) {
        *error = query.errorDescription();
        return std::nullopt;
    }
    return rows;
}

std::optional<QStringList> TaskCatalogue::taskNames()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context,
                   "SELECT DISTINCT name FROM TaskInfo WHERE name IS NOT NULL ORDER BY name");
    return namesOf(query);
}

std::optional<QStringList> TaskCatalogue::taskNames(const QString& filteredBy)
{
    auto guard = m_context.lock();
    // substr keeps the prefix match case-sensitive, unlike LIKE.
    SqlQuery query(m_context, "SELECT DISTINCT name FROM TaskInfo "
                              "WHERE substr(name, 1, length(?1)) = ?1 ORDER BY name");
    query.bind(1, filteredBy);
    return namesOf(query);
}

QString TaskCatalogue::color(const QString& ofTaskNamed)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT color FROM TaskInfo WHERE name = ? ORDER BY id LIMIT 1");
    query.bind(1, ofTaskNamed);
    if (query.next()) {
        if (auto color = query.textAt(0))
            return *color;
    } else if (!query.ok()) {
        StoreLog::error(query);
    }
    return QStringLiteral("#ffffff");
}

std::optional<QList<TaskInfo>> TaskCatalogue::unsyncedTaskInfos()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT id, name, color, createdAt, taskDescription, cloudRecordID "
                              "FROM TaskInfo WHERE cloudRecordID IS NULL");
    QList<TaskInfo> tasks;
    while (query.next())
        tasks.append(rowFrom(query).info);
    if (!query.ok()) {
        StoreLog::error(query);
        return std::nullopt;
    }
    return tasks;
}

bool TaskCatalogue::insert(const TaskInfoParameter& parameter,
                           const std::optional<QString>& cloudRecordID)
{
    SqlQuery query(m_context, "INSERT INTO TaskInfo (name, color, createdAt, taskDescription, "
                              "cloudRecordID) VALUES (?, ?, ?, ?, ?)");
    query.bind(1, parameter.name)
        .bind(2, parameter.color)
        .bind(3, parameter.createdAt.timeIntervalSinceReferenceDate())
        .bind(4, parameter.taskDescription)
        .bind(5, cloudRecordID);
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return true;
}

bool TaskCatalogue::setFields(long long id, const TaskInfoParameter& parameter)
{
    SqlQuery query(m_context,
                   "UPDATE TaskInfo SET name = ?, color = ?, taskDescription = ? WHERE id = ?");
    query.bind(1, parameter.name)
        .bind(2, parameter.color)
        .bind(3, parameter.taskDescription)
        .bindRow(4, id, "TaskInfo");
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return true;
}

void TaskCatalogue::saveToCloud(const TaskInfoParameter& parameter)
{
    const QString name = parameter.name;
    m_cloud.cloud()->saveTaskInfo(parameter,
                                  m_cloud.assignOnMainQueue([this, name](const QString& recordID) {
                                      updateTaskInfoCloudRecordID(name, recordID);
                                  }));
}

void TaskCatalogue::addTaskInfo(const TaskInfoParameter& parameter)
{
    {
        auto guard = m_context.lock();
        // The check and the insert share one write transaction, so two processes adding the
        // same name store it once.
        m_context.beginWrite();
        if (existsTaskInfo(parameter.name) || !insert(parameter, std::nullopt))
            return;
        m_context.saveContext();
    }
    saveToCloud(parameter);
}

void TaskCatalogue::updateTaskInfo(const QString& named, const QString& with)
{
    std::optional<QString> recordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        QString error;
        const auto rows = rowsNamed(named, &error);
        if (!rows) {
            StoreLog::prefixed("Update name error. ", error);
            return;
        }
        if (rows->size() != 1)
            return;
        SqlQuery query(m_context, "UPDATE TaskInfo SET name = ? WHERE id = ?");
        query.bind(1, with).bindRow(2, rows->first().id, "TaskInfo");
        if (!query.execWrite()) {
            StoreLog::prefixed("Update name error. ", query.errorDescription());
            return;
        }
        m_context.saveContext();
        recordID = rows->first().info.cloudRecordID;
    }
    if (recordID)
        m_cloud.cloud()->renameTaskWithNewName(*recordID, with);
}

void TaskCatalogue::updateTaskInfo(const QString& named, const TaskInfoParameter& withParameter)
{
    std::optional<QString> recordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        QString error;
        const auto rows = rowsNamed(named, &error);
        if (!rows) {
            StoreLog::failure("updateTaskInfo(named:withParameter:)", error);
            return;
        }
        if (rows->size() != 1 || !setFields(rows->first().id, withParameter))
            return;
        m_context.saveContext();
        recordID = rows->first().info.cloudRecordID;
    }
    if (recordID)
        m_cloud.cloud()->updateTask(*recordID, withParameter);
}

void TaskCatalogue::detachPomodoros(const char* taskCondition, const QString& value)
{
    // Only write when something is linked, so an idle delete leaves no transaction open.
    const QByteArray where = QByteArray("taskInfo IN (SELECT id FROM TaskInfo WHERE ") +
                             QByteArray(taskCondition) + " = ?)";
    SqlQuery count(m_context,
                   QByteArray("SELECT count(*) FROM Pomodoro WHERE " + where).constData());
    count.bind(1, value);
    if (!count.next()) {
        StoreLog::error(count);
        return;
    }
    if (count.intAt(0) == 0)
        return;
    SqlQuery update(m_context,
                    QByteArray("UPDATE Pomodoro SET taskInfo = NULL WHERE " + where).constData());
    update.bind(1, value);
    if (!update.execWrite())
        StoreLog::error(update);
}

void TaskCatalogue::deleteTaskInfo(const QString& named)
{
    std::optional<QString> recordID;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        if (auto row = rowNamed(named, "deleteTaskInfo(named:)")) {
            SqlQuery remove(m_context, "DELETE FROM TaskInfo WHERE id = ?");
            remove.bindRow(1, row->id, "TaskInfo");
            if (remove.execWrite())
                recordID = row->info.cloudRecordID;
            else
                StoreLog::error(remove);
        }
        // Saved with the delete: an unlink left for a later save would keep the store's
        // write lock from every other process until then.
        detachPomodoros("name", named);
        m_context.saveContext();
    }
    if (recordID)
        m_cloud.cloud()->deleteTaskInfo(*recordID);
}

void TaskCatalogue::updateTaskInfoCloudRecordID(const QString& named, const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    QString error;
    const auto rows = rowsNamed(named, &error);
    if (!rows) {
        StoreLog::failure("updateTaskInfo(named:cloudRecordID:)", error);
        return;
    }
    if (rows->isEmpty()) {
        Console::line(QStringLiteral("No se encuentra el ID: ") + cloudRecordID);
        return;
    }
    SqlQuery query(m_context, "UPDATE TaskInfo SET cloudRecordID = ? WHERE id = ?");
    query.bind(1, cloudRecordID).bindRow(2, rows->first().id, "TaskInfo");
    if (!query.execWrite()) {
        StoreLog::failure("updateTaskInfo(named:cloudRecordID:)", query.errorDescription());
        return;
    }
    m_context.saveContext();
}

void TaskCatalogue::addTaskInfo(const TaskInfoParameter& parameter, const QString& withRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    if (existsTaskInfo(parameter.name) || !insert(parameter, withRecordID))
        return;
    m_context.saveContext();
}

void TaskCatalogue::updateTaskInfo(const TaskInfoParameter& withParameter,
                                   const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    long long id = 0;
    {
        SqlQuery query(m_context,
                       "SELECT id FROM TaskInfo WHERE cloudRecordID = ? ORDER BY id LIMIT 1");
        query.bind(1, cloudRecordID);
        if (!query.next()) {
            if (query.ok())
                Console::line(QStringLiteral("No se encuentra el ID: ") + cloudRecordID);
            else
                StoreLog::failure("updateTaskInfo(withParameter:cloudRecordID:)",
                                  query.errorDescription());
            return;
        }
        id = query.int64At(0);
    }
    if (setFields(id, withParameter))
        m_context.saveContext();
}

void TaskCatalogue::deleteTaskInfoCloudRecordID(const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    if (auto row = rowWithID(cloudRecordID, "deleteTaskInfo(cloudRecordID:)")) {
        SqlQuery remove(m_context, "DELETE FROM TaskInfo WHERE id = ?");
        remove.bindRow(1, row->id, "TaskInfo");
        if (!remove.execWrite())
            StoreLog::error(remove);
    }
    detachPomodoros("cloudRecordID", cloudRecordID);
    m_context.saveContext();
}

void TaskCatalogue::migrateToTaskInfo()
{
    QList<TaskInfoParameter> created;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        QStringList oldNames;
        {
            SqlQuery query(m_context,
                           "SELECT DISTINCT taskName FROM Pomodoro WHERE taskName IS NOT NULL");
            auto names = namesOf(query);
            if (!names)
                return;
            oldNames = *names;
        }
        for (const QString& name : oldNames) {
            m_context.beginWrite();
            if (existsTaskInfo(name))
                continue;
            TaskInfoParameter parameter(name, TaskInfo::rawValue(TaskInfo::Colors::red));
            if (!insert(parameter, std::nullopt))
                continue;
            m_context.saveContext();
            created.append(parameter);
        }

        SqlQuery tasks(m_context,
                       "SELECT id, name FROM TaskInfo WHERE name IS NOT NULL ORDER BY id");
        QList<std::pair<long long, QString>> named;
        while (tasks.next())
            named.append({tasks.int64At(0), *tasks.textAt(1)});
        if (!tasks.ok()) {
            StoreLog::error(tasks);
            return;
        }
        // With several tasks of one name, their pomodoros end up on the last of them.
        for (const auto& [id, name] : named) {
            SqlQuery relink(m_context, "UPDATE Pomodoro SET taskInfo = ?1 WHERE taskInfo != ?1 AND "
                                       "taskInfo IN (SELECT id FROM TaskInfo WHERE name = ?2)");
            relink.bindRow(1, id, "TaskInfo").bind(2, name);
            if (!relink.execWrite())
                StoreLog::error(relink);
        }
        m_context.saveContext();
    }
    for (const TaskInfoParameter& parameter : created)
        saveToCloud(parameter);
}
