#include "cloud/CloudOperationReplayer.h"

#include "Console.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudRecordWriter.h"
#include "cloud/CloudValues.h"
#include "store/DataController.h"

namespace {

QVariantMap mapAt(const QVariantMap& map, const char* key)
{
    return map.value(QLatin1String(key)).toMap();
}

} // namespace

CloudOperationReplayer::CloudOperationReplayer(CloudRecordWriter& writer, DataController& store)
    : m_writer(writer)
    , m_store(store)
    , m_rows(store)
{}

CloudOperationPerformer::Outcome CloudOperationReplayer::outcomeOf(const CloudFailure& failure)
{
    // Kept like a network failure: the replay ends and the operation waits for the next one.
    return failure.keepsTheWrite() ? Outcome::networkFailure : Outcome::failed;
}

CloudOperationPerformer::Outcome CloudOperationReplayer::replay(const CloudOperation& operation,
                                                                CloudFailure& failure)
{
    switch (operation.operation) {
    case CloudOperation::Operation::save:
        return save(operation, failure);
    case CloudOperation::Operation::update:
        return update(operation, failure);
    case CloudOperation::Operation::remove:
        break;
    }
    const std::optional<QString> recordName =
        CloudValues::text(operation.userInfo, "cloudRecordID");
    if (!recordName)
        return Outcome::failed;
    return m_writer.remove(*recordName, failure) ? Outcome::done : outcomeOf(failure);
}

CloudOperationPerformer::Outcome CloudOperationReplayer::saveRow(
    const CloudRecord& record, const std::function<CloudLocalRows::Names()>& local,
    const std::function<void(const QString&)>& link, CloudFailure& failure)
{
    const CloudLocalRows::Names before = local();
    if (!before) {
        // The store cannot be read now; the operation waits for the next replay.
        failure = {CloudFailure::InternalError, QStringLiteral("the store cannot be read"),
                   std::nullopt};
        return Outcome::networkFailure;
    }
    // Saved by then (its row has a record name) or deleted: nothing left to send.
    if (!CloudLocalRows::hasUnlinked(before))
        return Outcome::done;
    const std::optional<CloudRecord> saved = m_writer.save(record, failure);
    if (!saved)
        return outcomeOf(failure);
    link(saved->recordName());
    const CloudLocalRows::Names after = local();
    if (after && !CloudLocalRows::hasName(after, saved->recordName())) {
        // The row went away while the record was on its way.
        CloudFailure ignored;
        m_writer.remove(saved->recordName(), ignored);
    }
    return Outcome::done;
}

CloudOperationPerformer::Outcome CloudOperationReplayer::save(const CloudOperation& operation,
                                                              CloudFailure& failure)
{
    const QVariantMap& info = operation.userInfo;
    using Record = CloudOperation::Record;
    switch (operation.recordType) {
    case Record::task: {
        const std::optional<TaskParameter> task =
            CloudValues::taskParameter(mapAt(info, "taskParameter"));
        if (!task)
            return Outcome::failed;
        const double start = *task->startTime;
        // The queue keeps the task's name; the record refers to the task's own record.
        std::optional<QString> taskInfo;
        if (task->taskName) {
            if (const std::optional<TaskInfo> found = m_store.fetchTaskInfo(*task->taskName))
                taskInfo = found->cloudRecordID;
        }
        return saveRow(
            CloudRecordMapping::taskRecord(*task, taskInfo),
            [this, start] { return m_rows.namesAt(Record::task, start); },
            [this, start](const QString& name) { m_store.updatePomodoro(name, Date(start)); },
            failure);
    }
    case Record::session:
    case Record::goal: {
        const bool isSession = operation.recordType == Record::session;
        const std::optional<double> at =
            CloudValues::number(info, isSession ? "finishedAt" : "achieveAt");
        const std::optional<double> count = CloudValues::number(info, "tasksCount");
        if (!at || !count)
            return Outcome::failed;
        const Record kind = operation.recordType;
        return saveRow(
            isSession ? CloudRecordMapping::sessionRecord(*at, std::int64_t(*count))
                      : CloudRecordMapping::goalRecord(*at, std::int64_t(*count)),
            [this, kind, at] { return m_rows.namesAt(kind, *at); },
            [this, isSession, at](const QString& name) {
                if (isSession)
                    m_store.updateSession(name, Date(*at));
                else
                    m_store.updateGoal(name, Date(*at));
            },
            failure);
    }
    case Record::thief: {
        const std::optional<Thief> thief = CloudValues::thief(mapAt(info, "thief"));
        if (!thief)
            return Outcome::failed;
        const QString identifier = *thief->identifier;
        return saveRow(
            CloudRecordMapping::thiefRecord(*thief),
            [this, identifier] { return m_rows.namesAt(Record::thief, identifier); },
            [this, identifier](const QString& name) { m_store.updateThief(identifier, name); },
            failure);
    }
    case Record::workActivity: {
        const std::optional<WorkActivity> activity =
            CloudValues::workActivity(mapAt(info, "activity"));
        if (!activity)
            return Outcome::failed;
        const double start = activity->startTime;
        return saveRow(
            CloudRecordMapping::workActivityRecord(*activity),
            [this, start] { return m_rows.namesAt(Record::workActivity, start); },
            [this, start](const QString& name) { m_store.updateWorkActivity(Date(start), name); },
            failure);
    }
    case Record::taskInfo: {
        const std::optional<TaskInfoParameter> taskInfo =
            CloudValues::taskInfoParameter(mapAt(info, "taskInfoParameter"));
        if (!taskInfo)
            return Outcome::failed;
        const QString named = taskInfo->name;
        return saveRow(
            CloudRecordMapping::taskInfoRecord(*taskInfo),
            [this, named] { return m_rows.namesAt(Record::taskInfo, named); },
            [this, named](const QString& name) {
                m_store.updateTaskInfoCloudRecordID(named, name);
            },
            failure);
    }
    }
    return Outcome::failed;
}

CloudOperationPerformer::Outcome CloudOperationReplayer::update(const CloudOperation& operation,
                                                                CloudFailure& failure)
{
    const QVariantMap& info = operation.userInfo;
    const std::optional<QString> recordName = CloudValues::text(info, "cloudRecordID");
    if (!recordName)
        return Outcome::failed;
    QStringList keys;
    std::function<void(CloudRecord&)> change;
    if (operation.recordType == CloudOperation::Record::task) {
        const std::optional<QString> taskInfo = CloudValues::text(info, "taskName");
        if (!taskInfo)
            return Outcome::failed;
        keys = {QStringLiteral("taskInfo")};
        change = [taskInfo](CloudRecord& record) {
            record.set(QStringLiteral("taskInfo"),
                       CloudField::reference(*taskInfo, CloudRecordMapping::zoneName(
                                                            CloudOperation::Record::taskInfo)));
        };
    } else if (operation.recordType == CloudOperation::Record::thief) {
        const QVariant active = info.value(QStringLiteral("thiefActive"));
        if (active.typeId() != QMetaType::Bool)
            return Outcome::failed;
        keys = {QStringLiteral("isActive")};
        change = [on = active.toBool()](CloudRecord& record) {
            record.set(QStringLiteral("isActive"), CloudField::boolean(on));
        };
    } else if (const std::optional<QString> newName = CloudValues::text(info, "taskName")) {
        keys = {QStringLiteral("name")};
        change = [newName](CloudRecord& record) {
            record.set(QStringLiteral("name"), CloudField::string(*newName));
        };
    } else if (const std::optional<TaskInfoParameter> parameter =
                   CloudValues::taskInfoParameter(mapAt(info, "taskInfoParameter"))) {
        keys = {QStringLiteral("name"), QStringLiteral("color"), QStringLiteral("taskDescription")};
        change = [parameter](CloudRecord& record) {
            record.set(QStringLiteral("name"), CloudField::string(parameter->name));
            record.set(QStringLiteral("color"), CloudField::string(parameter->color));
            if (parameter->taskDescription)
                record.set(QStringLiteral("taskDescription"),
                           CloudField::string(*parameter->taskDescription));
            else
                record.remove(QStringLiteral("taskDescription"));
        };
    } else {
        return Outcome::failed;
    }
    return m_writer.edit(*recordName, keys, change, QStringLiteral("process(operation:)"), failure)
               ? Outcome::done
               : outcomeOf(failure);
}
