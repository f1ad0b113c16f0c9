#include "cloud/CloudMigration.h"

#include "Console.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudRecordLinker.h"
#include "cloud/CloudRecordMapping.h"
#include "store/DataController.h"
#include "thieves/WorkActivityRecords.h"

namespace {

TaskParameter taskParameter(const Pomodoro& pomodoro)
{
    TaskParameter task;
    task.startTime = pomodoro.startTime;
    task.endTime = pomodoro.endTime;
    task.duration = pomodoro.duration;
    task.freeTimeDuration = pomodoro.freeTimeDuration;
    task.taskName = pomodoro.hasTaskInfo ? pomodoro.taskInfoName : pomodoro.taskName;
    return task;
}

} // namespace

CloudMigration::CloudMigration(DataController& store, CloudDatabase& database)
    : m_store(store)
    , m_database(database)
{}

QList<QList<CloudRecord>> CloudMigration::batches(const QList<CloudRecord>& records, int size)
{
    QList<QList<CloudRecord>> batches;
    for (qsizetype first = 0; first < records.size(); first += size)
        batches.append(records.mid(first, size));
    return batches;
}

bool CloudMigration::migrateToCloud()
{
    CloudFailure failure;
    const std::optional<CloudDatabase::AccountStatus> account = m_database.accountStatus(failure);
    if (!account || *account != CloudDatabase::AccountStatus::Available) {
        Console::line(QStringLiteral("No estás conectado @ migrateToCloud"));
        return false;
    }
    if (!m_database.ensureZones(CloudRecordMapping::zoneNames(), failure)) {
        Console::line(QStringLiteral("err @ createRecordZones() -> ") + failure.message);
        return false;
    }

    // The tasks go first: the intervals refer to their record names, which the server gives.
    QList<CloudRecord> tasks;
    for (const TaskInfo& info : m_store.unsyncedTaskInfos().value_or(QList<TaskInfo>())) {
        if (!info.name || !info.color)
            continue;
        TaskInfoParameter parameter(*info.name, *info.color, Date(info.createdAt));
        parameter.taskDescription = info.taskDescription;
        tasks.append(CloudRecordMapping::taskInfoRecord(parameter));
    }
    bool complete = upload(tasks);

    QList<CloudRecord> others;
    for (const Pomodoro& pomodoro : m_store.unsyncedPomodoros().value_or(QList<Pomodoro>()))
        others.append(CloudRecordMapping::taskRecord(taskParameter(pomodoro),
                                                     pomodoro.taskInfoCloudRecordID));
    for (const Session& session : m_store.unsyncedSessions().value_or(QList<Session>()))
        others.append(CloudRecordMapping::sessionRecord(session.finishedAt, session.tasksCount));
    for (const Goal& goal : m_store.unsyncedGoals().value_or(QList<Goal>()))
        others.append(CloudRecordMapping::goalRecord(goal.achieveAt, goal.tasksCount));
    for (const Thief& thief : m_store.thievesPendingUpload().value_or(QList<Thief>()))
        others.append(CloudRecordMapping::thiefRecord(thief));
    for (const WorkActivity& activity :
         m_store.workActivitiesPendingUpload().value_or(QList<WorkActivity>()))
        others.append(CloudRecordMapping::workActivityRecord(activity));
    complete = upload(others) && complete;
    return complete;
}

bool CloudMigration::upload(const QList<CloudRecord>& records)
{
    if (records.isEmpty())
        return true;
    Console::line(QStringLiteral("Bulk upload iCloud records: %1").arg(records.size()));
    bool complete = true;
    for (const QList<CloudRecord>& batch : batches(records)) {
        int saved = 0;
        const QList<CloudDatabase::SaveOutcome> outcomes = m_database.save(batch);
        m_store.saveOnce([&] {
            for (const CloudDatabase::SaveOutcome& outcome : outcomes) {
                if (outcome.record) {
                    CloudRecordLinker::link(m_store, *outcome.record);
                    ++saved;
                } else {
                    complete = false;
                    Console::line(QStringLiteral("err @ bulkUpload(records:) line: 144 -> ") +
                                  (outcome.failure ? outcome.failure->message : QString()));
                }
            }
        });
        Console::line(saved > 0 ? QStringLiteral("Se han migrado %1 registros a iCloud").arg(saved)
                                : QStringLiteral("No se ha guardado nada"));
    }
    return complete;
}

bool CloudMigration::deletePrevoiusWeekWorkActivity(Date now)
{
    const QString operation = QStringLiteral("deletePrevoiusWeekWorkActivity(cursor:)");
    const double limit = WorkActivityRecords::purgeLimit(now).timeIntervalSinceReferenceDate();
    const QString type = CloudRecordMapping::recordType(CloudOperation::Record::workActivity);
    const QString zone = CloudRecordMapping::zoneName(CloudOperation::Record::workActivity);
    std::optional<QString> cursor;
    do {
        CloudFailure failure;
        const std::optional<CloudDatabase::Page> page = m_database.recordsBefore(
            type, zone, QStringLiteral("startTime"), limit, cursor, failure);
        if (!page) {
            Console::line(QStringLiteral("err @ ") + operation + QStringLiteral(" -> ") +
                          failure.message);
            return false;
        }
        QStringList names;
        for (const CloudRecord& record : page->records)
            names.append(record.recordName());
        if (!names.isEmpty()) {
            const std::optional<QStringList> deleted = m_database.remove(names, failure);
            if (!deleted) {
                Console::line(QStringLiteral("err @ ") + operation + QStringLiteral(" -> ") +
                              failure.message);
                return false;
            }
            for (qsizetype i = 0; i < deleted->size(); ++i)
                Console::line(operation + QStringLiteral(": WorkActivity deleted..."));
        }
        cursor = page->cursor;
    } while (cursor);
    Console::line(operation + QStringLiteral(" Completed."));
    return true;
}

bool CloudMigration::truncateAll()
{
    const QStringList zones{CloudRecordMapping::zoneName(CloudOperation::Record::task),
                            CloudRecordMapping::zoneName(CloudOperation::Record::taskInfo),
                            CloudRecordMapping::zoneName(CloudOperation::Record::session),
                            CloudRecordMapping::zoneName(CloudOperation::Record::goal)};
    CloudFailure failure;
    if (!m_database.clearZones(zones, failure)) {
        Console::line(QStringLiteral("err @ truncate(recordZoneIDs:) -> ") + failure.message);
        return false;
    }
    Console::line(QStringLiteral("ok @ truncate(recordZoneIDs:). Truncated Zones:"));
    for (const QString& zone : zones)
        Console::line(QStringLiteral("\t· ") + zone);
    return true;
}
