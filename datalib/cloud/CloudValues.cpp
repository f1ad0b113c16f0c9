#include "cloud/CloudValues.h"

namespace {

template <typename T> void put(QVariantMap& map, const char* key, const std::optional<T>& value)
{
    if (value)
        map.insert(QLatin1String(key), QVariant::fromValue(*value));
}

void putImage(QVariantMap& map, const std::optional<QByteArray>& image)
{
    if (image)
        map.insert(QStringLiteral("image"), QString::fromLatin1(image->toBase64()));
}

std::optional<std::int32_t> integer(const QVariantMap& map, const char* key)
{
    const std::optional<double> value = CloudValues::number(map, key);
    if (!value || *value != double(std::int32_t(*value)))
        return std::nullopt;
    return std::int32_t(*value);
}

std::optional<bool> flag(const QVariantMap& map, const char* key)
{
    const QVariant value = map.value(QLatin1String(key));
    if (value.typeId() != QMetaType::Bool)
        return std::nullopt;
    return value.toBool();
}

std::optional<QByteArray> image(const QVariantMap& map)
{
    const std::optional<QString> encoded = CloudValues::text(map, "image");
    if (!encoded)
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(encoded->toLatin1(),
                                                  QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

} // namespace

std::optional<QString> CloudValues::text(const QVariantMap& map, const char* key)
{
    const QVariant value = map.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<double> CloudValues::number(const QVariantMap& map, const char* key)
{
    const QVariant value = map.value(QLatin1String(key));
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!value.isValid() || value.typeId() == QMetaType::QString ||
        value.typeId() == QMetaType::Bool || !ok)
        return std::nullopt;
    return number;
}

QVariantMap CloudValues::from(const TaskParameter& task)
{
    QVariantMap map;
    put(map, "duration", task.duration);
    put(map, "endTime", task.endTime);
    put(map, "freeTimeDuration", task.freeTimeDuration);
    put(map, "startTime", task.startTime);
    put(map, "taskName", task.taskName);
    return map;
}

QVariantMap CloudValues::from(const TaskInfoParameter& taskInfo)
{
    QVariantMap map;
    map.insert(QStringLiteral("name"), taskInfo.name);
    map.insert(QStringLiteral("color"), taskInfo.color);
    map.insert(QStringLiteral("createdAt"), taskInfo.createdAt.timeIntervalSinceReferenceDate());
    put(map, "taskDescription", taskInfo.taskDescription);
    return map;
}

QVariantMap CloudValues::from(const Thief& thief)
{
    QVariantMap map;
    put(map, "name", thief.name);
    put(map, "identifier", thief.identifier);
    put(map, "kind", thief.kind);
    put(map, "about", thief.about);
    putImage(map, thief.image);
    map.insert(QStringLiteral("isActive"), thief.isActive);
    map.insert(QStringLiteral("preloaded"), thief.preloaded);
    put(map, "cloudRecordID", thief.cloudRecordID);
    return map;
}

QVariantMap CloudValues::from(const WorkActivity& activity)
{
    QVariantMap map;
    put(map, "name", activity.name);
    put(map, "identifier", activity.identifier);
    put(map, "kind", activity.kind);
    map.insert(QStringLiteral("startTime"), activity.startTime);
    map.insert(QStringLiteral("endTime"), activity.endTime);
    putImage(map, activity.image);
    put(map, "cloudRecordID", activity.cloudRecordID);
    return map;
}

std::optional<TaskParameter> CloudValues::taskParameter(const QVariantMap& map)
{
    TaskParameter task;
    task.duration = integer(map, "duration");
    task.freeTimeDuration = integer(map, "freeTimeDuration");
    task.startTime = number(map, "startTime");
    task.endTime = number(map, "endTime");
    task.taskName = text(map, "taskName");
    // What a "Task" record cannot be saved without.
    if (!task.duration || !task.freeTimeDuration || !task.startTime || !task.endTime)
        return std::nullopt;
    return task;
}

std::optional<TaskInfoParameter> CloudValues::taskInfoParameter(const QVariantMap& map)
{
    const std::optional<QString> name = text(map, "name");
    const std::optional<QString> color = text(map, "color");
    const std::optional<double> createdAt = number(map, "createdAt");
    if (!name || !color || !createdAt)
        return std::nullopt;
    TaskInfoParameter parameter(*name, *color, Date(*createdAt));
    parameter.taskDescription = text(map, "taskDescription");
    return parameter;
}

std::optional<Thief> CloudValues::thief(const QVariantMap& map)
{
    Thief thief;
    thief.name = text(map, "name");
    thief.identifier = text(map, "identifier");
    thief.kind = text(map, "kind");
    thief.about = text(map, "about");
    thief.image = image(map);
    thief.cloudRecordID = text(map, "cloudRecordID");
    const std::optional<bool> active = flag(map, "isActive");
    const std::optional<bool> preloaded = flag(map, "preloaded");
    if (!thief.name || !thief.identifier || !thief.kind || !active || !preloaded)
        return std::nullopt;
    thief.isActive = *active;
    thief.preloaded = *preloaded;
    return thief;
}

std::optional<WorkActivity> CloudValues::workActivity(const QVariantMap& map)
{
    WorkActivity activity;
    activity.name = text(map, "name");
    activity.identifier = text(map, "identifier");
    activity.kind = text(map, "kind");
    activity.image = image(map);
    activity.cloudRecordID = text(map, "cloudRecordID");
    const std::optional<double> start = number(map, "startTime");
    const std::optional<double> end = number(map, "endTime");
    if (!start || !end)
        return std::nullopt;
    activity.startTime = *start;
    activity.endTime = *end;
    return activity;
}
