#include "cloud/CloudLocalRows.h"

#include "cloud/CloudRecordMapping.h"
#include "store/DataController.h"

namespace {

template <typename Row, typename Moment>
CloudLocalRows::Names namesOf(const std::optional<QList<Row>>& rows, double moment, Moment at)
{
    if (!rows)
        return std::nullopt;
    QList<std::optional<QString>> names;
    for (const Row& row : *rows) {
        if (at(row) == moment)
            names.append(row.cloudRecordID);
    }
    return names;
}

} // namespace

CloudLocalRows::CloudLocalRows(DataController& store)
    : m_store(store)
{}

CloudLocalRows::Names CloudLocalRows::namesAt(CloudOperation::Record kind, double moment)
{
    // A second either side: the store's range queries differ in whether their ends count.
    const Date since(moment - 1);
    const Date to(moment + 1);
    switch (kind) {
    case CloudOperation::Record::task:
        return namesOf(m_store.pomodoros(since, to), moment,
                       [](const Pomodoro& row) { return row.startTime; });
    case CloudOperation::Record::session:
        return namesOf(m_store.sessions(since, to), moment,
                       [](const Session& row) { return row.finishedAt; });
    case CloudOperation::Record::goal:
        return namesOf(m_store.goals(since, to), moment,
                       [](const Goal& row) { return row.achieveAt; });
    case CloudOperation::Record::workActivity:
        return namesOf(m_store.workActivities(since, to), moment,
                       [](const WorkActivity& row) { return row.startTime; });
    case CloudOperation::Record::thief:
    case CloudOperation::Record::taskInfo:
        break;
    }
    return QList<std::optional<QString>>();
}

CloudLocalRows::Names CloudLocalRows::namesAt(CloudOperation::Record kind, const QString& key)
{
    if (kind == CloudOperation::Record::taskInfo) {
        const std::optional<TaskInfo> task = m_store.fetchTaskInfo(key);
        if (!task)
            return m_store.lastError() ? Names() : QList<std::optional<QString>>();
        return QList<std::optional<QString>>{task->cloudRecordID};
    }
    if (kind == CloudOperation::Record::thief) {
        const std::optional<QList<Thief>> thieves = m_store.thieves();
        if (!thieves)
            return std::nullopt;
        QList<std::optional<QString>> names;
        for (const Thief& thief : *thieves) {
            if (thief.identifier == key)
                names.append(thief.cloudRecordID);
        }
        return names;
    }
    return QList<std::optional<QString>>();
}

bool CloudLocalRows::holds(const CloudRecord& record)
{
    const std::optional<CloudOperation::Record> kind =
        CloudRecordMapping::recordOfType(record.recordType());
    if (!kind)
        return false;
    const QString& name = record.recordName();
    switch (*kind) {
    case CloudOperation::Record::taskInfo:
        return m_store.fetchTaskInfoWithID(name).has_value();
    case CloudOperation::Record::thief: {
        const std::optional<QList<Thief>> thieves = m_store.thieves();
        if (!thieves)
            return false;
        for (const Thief& thief : *thieves) {
            if (thief.cloudRecordID == name)
                return true;
        }
        return false;
    }
    case CloudOperation::Record::task:
    case CloudOperation::Record::session:
    case CloudOperation::Record::goal:
    case CloudOperation::Record::workActivity:
        break;
    }
    const std::optional<QString> field = CloudRecordMapping::naturalKeyField(record.zoneName());
    const std::optional<double> moment = field ? record.date(*field) : std::nullopt;
    return moment && hasName(namesAt(*kind, *moment), name);
}

bool CloudLocalRows::hasUnlinked(const Names& names)
{
    return names && names->contains(std::nullopt);
}

bool CloudLocalRows::hasName(const Names& names, const QString& recordName)
{
    return names && names->contains(std::optional<QString>(recordName));
}
