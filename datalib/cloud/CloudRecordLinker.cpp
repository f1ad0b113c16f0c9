#include "cloud/CloudRecordLinker.h"

#include "Console.h"
#include "cloud/CloudRecord.h"
#include "cloud/CloudRecordMapping.h"
#include "store/DataController.h"

bool CloudRecordLinker::link(DataController& store, const CloudRecord& saved)
{
    const std::optional<CloudOperation::Record> kind =
        CloudRecordMapping::recordOfZone(saved.zoneName());
    if (!kind) {
        Console::line(QStringLiteral("registro desconocido"));
        return false;
    }
    const QString& name = saved.recordName();
    switch (*kind) {
    case CloudOperation::Record::task:
        if (const std::optional<double> start = saved.date(QStringLiteral("startTime"))) {
            store.updatePomodoro(name, Date(*start));
            return true;
        }
        break;
    case CloudOperation::Record::session:
        if (const std::optional<double> at = saved.date(QStringLiteral("finishedAt"))) {
            store.updateSession(name, Date(*at));
            return true;
        }
        break;
    case CloudOperation::Record::goal:
        if (const std::optional<double> at = saved.date(QStringLiteral("achieveAt"))) {
            store.updateGoal(name, Date(*at));
            return true;
        }
        break;
    case CloudOperation::Record::taskInfo:
        if (const std::optional<QString> task = saved.string(QStringLiteral("name"))) {
            store.updateTaskInfoCloudRecordID(*task, name);
            return true;
        }
        break;
    case CloudOperation::Record::thief:
        if (const std::optional<QString> identifier = saved.string(QStringLiteral("identifier"))) {
            store.updateThief(*identifier, name);
            return true;
        }
        break;
    case CloudOperation::Record::workActivity:
        if (const std::optional<double> start = saved.date(QStringLiteral("startTime"))) {
            store.updateWorkActivity(Date(*start), name);
            return true;
        }
        break;
    }
    return false;
}
