#include "cloud/CloudRecordMapping.h"

#include <array>
#include <limits>

#include <QUuid>

#include "Console.h"

namespace {

struct Kind {
    CloudOperation::Record record;
    const char* type;
    const char* zone;
    const char* naturalKey;
};

// In the order the zones are created.
constexpr std::array<Kind, 6> kinds{{
    {CloudOperation::Record::taskInfo, "TaskInfo", "TasksInfoZone", "name"},
    {CloudOperation::Record::task, "Task", "TasksZone", "startTime"},
    {CloudOperation::Record::session, "Session", "SessionsZone", "finishedAt"},
    {CloudOperation::Record::goal, "Goal", "GoalsZone", "achieveAt"},
    {CloudOperation::Record::thief, "Thief", "ThiefsZone", "identifier"},
    {CloudOperation::Record::workActivity, "WorkActivity", "WorksActivityZone", "startTime"},
}};

const Kind& kindOf(CloudOperation::Record record)
{
    for (const Kind& kind : kinds) {
        if (kind.record == record)
            return kind;
    }
    return kinds.front();
}

CloudRecord newRecord(CloudOperation::Record record)
{
    const Kind& kind = kindOf(record);
    return CloudRecord(QLatin1String(kind.type), QLatin1String(kind.zone));
}

QString key(const char* name)
{
    return QLatin1String(name);
}

void setString(CloudRecord& record, const char* name, const std::optional<QString>& value)
{
    if (value)
        record.set(key(name), CloudField::string(*value));
}

void setAsset(CloudRecord& record, const std::optional<QByteArray>& image)
{
    if (image)
        record.set(key("image"), CloudField::asset(*image));
}

std::optional<std::int32_t> int32(const CloudRecord& record, const char* name)
{
    const std::optional<std::int64_t> value = record.int64(key(name));
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(*value);
}

bool isType(const CloudRecord& record, CloudOperation::Record kind)
{
    return record.recordType() == QLatin1String(kindOf(kind).type);
}

std::optional<CloudRecordMapping::Moment> moment(const CloudRecord& record,
                                                 CloudOperation::Record kind, const char* at)
{
    const std::optional<double> when = record.date(key(at));
    const std::optional<std::int64_t> count = record.int64(key("tasksCount"));
    if (!isType(record, kind) || !when || !count)
        return std::nullopt;
    return CloudRecordMapping::Moment{*when, *count};
}

} // namespace

QString CloudRecordMapping::recordType(CloudOperation::Record record)
{
    return QLatin1String(kindOf(record).type);
}

QString CloudRecordMapping::zoneName(CloudOperation::Record record)
{
    return QLatin1String(kindOf(record).zone);
}

QStringList CloudRecordMapping::zoneNames()
{
    QStringList names;
    for (const Kind& kind : kinds)
        names.append(QLatin1String(kind.zone));
    return names;
}

std::optional<CloudOperation::Record> CloudRecordMapping::recordOfType(const QString& recordType)
{
    for (const Kind& kind : kinds) {
        if (recordType == QLatin1String(kind.type))
            return kind.record;
    }
    return std::nullopt;
}

std::optional<CloudOperation::Record> CloudRecordMapping::recordOfZone(const QString& zoneName)
{
    for (const Kind& kind : kinds) {
        if (zoneName == QLatin1String(kind.zone))
            return kind.record;
    }
    return std::nullopt;
}

std::optional<QString> CloudRecordMapping::naturalKeyField(const QString& zoneName)
{
    const std::optional<CloudOperation::Record> record = recordOfZone(zoneName);
    if (!record)
        return std::nullopt;
    return QLatin1String(kindOf(*record).naturalKey);
}

std::optional<CloudField> CloudRecordMapping::naturalKey(const CloudRecord& record)
{
    const std::optional<QString> field = naturalKeyField(record.zoneName());
    if (!field || !record.fields().contains(*field))
        return std::nullopt;
    return record.fields().value(*field);
}

std::optional<QString> CloudRecordMapping::creationKey(const CloudRecord& record)
{
    const std::optional<CloudField> value = naturalKey(record);
    if (!value)
        return std::nullopt;
    static const QUuid space = QUuid::fromString(u"5b0e7c1d-2f0e-4f7a-9a53-6f1f0c3e8d21");
    CloudRecord keyOnly(record.recordType(), record.zoneName());
    keyOnly.set(*naturalKeyField(record.zoneName()), *value);
    return QUuid::createUuidV5(space, record.zoneName().toUtf8() + '\n' + keyOnly.fieldsJson())
        .toString(QUuid::WithoutBraces);
}

CloudRecord CloudRecordMapping::taskInfoRecord(const TaskInfoParameter& taskInfo)
{
    CloudRecord record = newRecord(CloudOperation::Record::taskInfo);
    record.set(key("name"), CloudField::string(taskInfo.name));
    record.set(key("createdAt"),
               CloudField::date(taskInfo.createdAt.timeIntervalSinceReferenceDate()));
    setString(record, "taskDescription", taskInfo.taskDescription);
    record.set(key("color"), CloudField::string(taskInfo.color));
    return record;
}

CloudRecord CloudRecordMapping::taskRecord(const TaskParameter& task,
                                           const std::optional<QString>& taskInfoRecordName)
{
    CloudRecord record = newRecord(CloudOperation::Record::task);
    if (task.startTime)
        record.set(key("startTime"), CloudField::date(*task.startTime));
    if (task.freeTimeDuration)
        record.set(key("freeTimeDuration"), CloudField::int64(*task.freeTimeDuration));
    if (task.endTime)
        record.set(key("endTime"), CloudField::date(*task.endTime));
    if (task.duration)
        record.set(key("duration"), CloudField::int64(*task.duration));
    if (taskInfoRecordName)
        record.set(
            key("taskInfo"),
            CloudField::reference(*taskInfoRecordName, zoneName(CloudOperation::Record::taskInfo)));
    return record;
}

CloudRecord CloudRecordMapping::batchTaskRecord(const TaskParameter& task,
                                                const QList<CloudRecord>& taskInfos)
{
    std::optional<QString> target;
    if (task.taskName) {
        for (const CloudRecord& taskInfo : taskInfos) {
            if (isType(taskInfo, CloudOperation::Record::taskInfo) &&
                taskInfo.string(key("name")) == task.taskName) {
                target = taskInfo.recordName();
                Console::line(QStringLiteral("> ") + taskInfo.recordName());
                break;
            }
        }
    }
    return taskRecord(task, target);
}

CloudRecord CloudRecordMapping::sessionRecord(double finishedAt, std::int64_t tasksCount)
{
    CloudRecord record = newRecord(CloudOperation::Record::session);
    record.set(key("finishedAt"), CloudField::date(finishedAt));
    record.set(key("tasksCount"), CloudField::int64(tasksCount));
    return record;
}

CloudRecord CloudRecordMapping::goalRecord(double achieveAt, std::int64_t tasksCount)
{
    CloudRecord record = newRecord(CloudOperation::Record::goal);
    record.set(key("achieveAt"), CloudField::date(achieveAt));
    record.set(key("tasksCount"), CloudField::int64(tasksCount));
    return record;
}

CloudRecord CloudRecordMapping::thiefRecord(const Thief& thief)
{
    CloudRecord record = newRecord(CloudOperation::Record::thief);
    setString(record, "name", thief.name);
    setString(record, "identifier", thief.identifier);
    setString(record, "kind", thief.kind);
    setString(record, "about", thief.about);
    record.set(key("isActive"), CloudField::boolean(thief.isActive));
    record.set(key("preloaded"), CloudField::boolean(thief.preloaded));
    setAsset(record, thief.image);
    return record;
}

CloudRecord CloudRecordMapping::workActivityRecord(const WorkActivity& activity)
{
    CloudRecord record = newRecord(CloudOperation::Record::workActivity);
    setString(record, "identifier", activity.identifier);
    setString(record, "name", activity.name);
    record.set(key("startTime"), CloudField::date(activity.startTime));
    record.set(key("endTime"), CloudField::date(activity.endTime));
    setString(record, "kind", activity.kind);
    setAsset(record, activity.image);
    return record;
}

std::optional<TaskInfoParameter> CloudRecordMapping::taskInfoParameter(const CloudRecord& record)
{
    const std::optional<QString> name = record.string(key("name"));
    const std::optional<QString> color = record.string(key("color"));
    const std::optional<double> createdAt = record.date(key("createdAt"));
    if (!isType(record, CloudOperation::Record::taskInfo) || !name || !color || !createdAt)
        return std::nullopt;
    TaskInfoParameter taskInfo(*name, *color, Date(*createdAt));
    taskInfo.taskDescription = record.string(key("taskDescription"));
    return taskInfo;
}

std::optional<TaskParameter> CloudRecordMapping::taskParameter(const CloudRecord& record)
{
    TaskParameter task;
    task.taskName = record.string(key("taskName"));
    task.startTime = record.date(key("startTime"));
    task.freeTimeDuration = int32(record, "freeTimeDuration");
    task.endTime = record.date(key("endTime"));
    task.duration = int32(record, "duration");
    if (!isType(record, CloudOperation::Record::task) || !task.freeTimeDuration || !task.duration)
        return std::nullopt;
    return task;
}

std::optional<QString> CloudRecordMapping::taskInfoReference(const CloudRecord& record)
{
    return record.reference(key("taskInfo"));
}

std::optional<CloudRecordMapping::Moment> CloudRecordMapping::session(const CloudRecord& record)
{
    return moment(record, CloudOperation::Record::session, "finishedAt");
}

std::optional<CloudRecordMapping::Moment> CloudRecordMapping::goal(const CloudRecord& record)
{
    return moment(record, CloudOperation::Record::goal, "achieveAt");
}

std::optional<Thief> CloudRecordMapping::thief(const CloudRecord& record)
{
    Thief thief;
    thief.name = record.string(key("name"));
    thief.identifier = record.string(key("identifier"));
    thief.kind = record.string(key("kind"));
    thief.about = record.string(key("about"));
    thief.image = record.asset(key("image"));
    const std::optional<std::int64_t> isActive = record.int64(key("isActive"));
    const std::optional<std::int64_t> preloaded = record.int64(key("preloaded"));
    if (!isType(record, CloudOperation::Record::thief) || !thief.name || !thief.identifier ||
        !thief.kind || !isActive || !preloaded)
        return std::nullopt;
    thief.isActive = *isActive != 0;
    thief.preloaded = *preloaded != 0;
    thief.cloudRecordID = record.recordName();
    return thief;
}

std::optional<WorkActivity> CloudRecordMapping::workActivity(const CloudRecord& record)
{
    WorkActivity activity;
    activity.identifier = record.string(key("identifier"));
    activity.name = record.string(key("name"));
    activity.kind = record.string(key("kind"));
    activity.image = record.asset(key("image"));
    const std::optional<double> startTime = record.date(key("startTime"));
    const std::optional<double> endTime = record.date(key("endTime"));
    if (!isType(record, CloudOperation::Record::workActivity) || !startTime || !endTime)
        return std::nullopt;
    activity.startTime = *startTime;
    activity.endTime = *endTime;
    activity.cloudRecordID = record.recordName();
    return activity;
}
