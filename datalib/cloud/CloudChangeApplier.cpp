#include "cloud/CloudChangeApplier.h"

#include "Console.h"
#include "NotificationCenter.h"
#include "cloud/CloudNotifications.h"
#include "cloud/CloudRecordMapping.h"
#include "dispatch/Clock.h"
#include "store/DataController.h"
#include "thieves/ThiefImages.h"

namespace {

void say(const char* what)
{
    Console::line(QStringLiteral("iCloud notification. ") + QLatin1String(what));
}

} // namespace

CloudChangeApplier::CloudChangeApplier(DataController& store)
    : m_store(store)
    , m_rows(store)
{}

CloudChangeApplier::~CloudChangeApplier() = default;

void CloudChangeApplier::post(const char* name, double date)
{
    NotificationCenter::defaultCenter().post(QLatin1String(name),
                                             {{QLatin1String(CloudNotifications::dateKey), date}});
}

bool CloudChangeApplier::stored()
{
    return !m_store.lastError().has_value();
}

bool CloudChangeApplier::skip(const CloudRecord& record)
{
    Console::line(QStringLiteral("warn @ fetchChanges(in:) -> ") + record.recordType() +
                  QStringLiteral(" record ") + record.recordName() +
                  QStringLiteral(" lacks a required field; skipped"));
    return true;
}

bool CloudChangeApplier::apply(const CloudRecord& record)
{
    const std::optional<CloudOperation::Record> kind =
        CloudRecordMapping::recordOfType(record.recordType());
    if (!kind)
        return true;
    const bool updated = m_rows.holds(record);
    switch (*kind) {
    case CloudOperation::Record::taskInfo:
        return applyTaskInfo(record, updated);
    case CloudOperation::Record::task:
        return applyTask(record, updated);
    case CloudOperation::Record::session:
    case CloudOperation::Record::goal:
        return applyMoment(record, updated, *kind);
    case CloudOperation::Record::thief:
        return applyThief(record, updated);
    case CloudOperation::Record::workActivity:
        return applyWorkActivity(record, updated);
    }
    return true;
}

bool CloudChangeApplier::applyTaskInfo(const CloudRecord& record, bool updated)
{
    const std::optional<TaskInfoParameter> parameter =
        CloudRecordMapping::taskInfoParameter(record);
    if (!parameter)
        return skip(record);
    const QString& name = record.recordName();
    if (updated) {
        m_store.updateTaskInfo(*parameter, name);
        if (!stored())
            return false;
        say("TaskInfo Updated");
        post(ZestraCloudTaskInfoUpdated, Clock::current());
        return true;
    }
    const CloudLocalRows::Names local =
        m_rows.namesAt(CloudOperation::Record::taskInfo, parameter->name);
    if (!local)
        return false;
    if (CloudLocalRows::hasUnlinked(local)) {
        m_store.updateTaskInfoCloudRecordID(parameter->name, name);
        return stored();
    }
    if (!local->isEmpty()) {
        // Made under the same name on two computers before either had synced.
        Console::line(QStringLiteral("warn @ fetchChanges(in:) -> the task ") + parameter->name +
                      QStringLiteral(" already has a cloud record; ") + name +
                      QStringLiteral(" is skipped"));
        return true;
    }
    m_store.addTaskInfo(*parameter, name);
    if (!stored())
        return false;
    say("TaskInfo Created");
    post(ZestraCloudTaskInfoCreated, Clock::current());
    return true;
}

bool CloudChangeApplier::applyTask(const CloudRecord& record, bool updated)
{
    const std::optional<TaskParameter> parameter = CloudRecordMapping::taskParameter(record);
    if (!parameter || !parameter->startTime)
        return skip(record);
    const QString& name = record.recordName();
    const double startTime = *parameter->startTime;
    const std::optional<QString> taskInfo = CloudRecordMapping::taskInfoReference(record);
    if (updated) {
        if (taskInfo) {
            m_store.updateTask(*taskInfo, name);
            if (!stored())
                return false;
        }
        say("Task Name Updated");
        post(ZestraCloudTaskUpdated, startTime);
        return true;
    }
    const CloudLocalRows::Names local = m_rows.namesAt(CloudOperation::Record::task, startTime);
    if (!local)
        return false;
    if (CloudLocalRows::hasUnlinked(local)) {
        m_store.updatePomodoro(name, Date(startTime));
        return stored();
    }
    m_store.addTask(*parameter, name, taskInfo);
    if (!stored())
        return false;
    say("Task Created");
    post(ZestraCloudTaskCreated, startTime);
    return true;
}

bool CloudChangeApplier::applyMoment(const CloudRecord& record, bool updated,
                                     CloudOperation::Record kind)
{
    const bool isSession = kind == CloudOperation::Record::session;
    const std::optional<CloudRecordMapping::Moment> moment =
        isSession ? CloudRecordMapping::session(record) : CloudRecordMapping::goal(record);
    if (!moment)
        return skip(record);
    // A session or goal never changes once made.
    if (updated)
        return true;
    const QString& name = record.recordName();
    const Date at(moment->at);
    const CloudLocalRows::Names local = m_rows.namesAt(kind, moment->at);
    if (!local)
        return false;
    if (CloudLocalRows::hasUnlinked(local)) {
        if (isSession)
            m_store.updateSession(name, at);
        else
            m_store.updateGoal(name, at);
        return stored();
    }
    if (isSession)
        m_store.addSession(at, int(moment->tasksCount), name);
    else
        m_store.addGoal(at, int(moment->tasksCount), name);
    if (!stored())
        return false;
    say(isSession ? "Session Created" : "Goals Created");
    post(isSession ? ZestraCloudSessionCreated : ZestraCloudGoalCreated, moment->at);
    return true;
}

bool CloudChangeApplier::applyThief(const CloudRecord& record, bool updated)
{
    const std::optional<Thief> thief = CloudRecordMapping::thief(record);
    if (!thief)
        return skip(record);
    const QString& identifier = *thief->identifier;
    const std::optional<Thief> local = m_store.thief(identifier);
    if (updated) {
        if (local && local->isActive != thief->isActive) {
            if (thief->isActive)
                m_store.activateThief(identifier);
            else
                m_store.deactivateThief(identifier);
            if (!stored())
                return false;
        }
        say("Thieve Updated");
        post(ZestraCloudThiefUpdated, Clock::current());
        return true;
    }
    QVariantMap dictionary{
        {QStringLiteral("name"), *thief->name},
        {QStringLiteral("identifier"), identifier},
        {QStringLiteral("kind"), *thief->kind},
        {QStringLiteral("isActive"), thief->isActive},
        {QStringLiteral("preloaded"), thief->preloaded},
    };
    if (thief->about)
        dictionary.insert(QStringLiteral("description"), *thief->about);
    const QByteArray image = thief->image && !thief->image->isEmpty()
                                 ? *thief->image
                                 : ThiefImages::namedOrGeneric(QLatin1String(ThiefImages::generic));
    if (local) {
        // Takes the record's name and whether it is watched.
        m_store.addThieve(dictionary, image, record.recordName());
    } else {
        // Made by hand on another computer; carrying its record name, it is not uploaded.
        dictionary.insert(QStringLiteral("cloudRecordID"), record.recordName());
        m_store.addThieve(dictionary, image);
    }
    if (!stored())
        return false;
    say("Thief Created");
    post(ZestraCloudThiefCreated, Clock::current());
    return true;
}

bool CloudChangeApplier::applyWorkActivity(const CloudRecord& record, bool updated)
{
    const std::optional<WorkActivity> activity = CloudRecordMapping::workActivity(record);
    if (!activity)
        return skip(record);
    if (updated)
        return true;
    const CloudLocalRows::Names local =
        m_rows.namesAt(CloudOperation::Record::workActivity, activity->startTime);
    if (!local)
        return false;
    if (CloudLocalRows::hasUnlinked(local)) {
        m_store.updateWorkActivity(Date(activity->startTime), record.recordName());
        return stored();
    }
    m_store.insertWorkActivity(*activity);
    if (!stored())
        return false;
    say("Work Activity Created");
    post(ZestraCloudWorkActivityCreated, activity->startTime);
    return true;
}

bool CloudChangeApplier::applyDeletion(const QString& recordName, const QString& recordType)
{
    const std::optional<CloudOperation::Record> kind = CloudRecordMapping::recordOfType(recordType);
    if (kind == CloudOperation::Record::taskInfo) {
        m_store.deleteTaskInfoCloudRecordID(recordName);
        if (!stored())
            return false;
        say("Task Info Deleted");
        post(ZestraCloudTaskInfoDeleted, Clock::current());
    } else if (kind == CloudOperation::Record::task) {
        m_store.deletePomodoro(recordName);
        if (!stored())
            return false;
        say("Task Deleted");
        post(ZestraCloudTaskDeleted, Clock::current());
    } else if (kind == CloudOperation::Record::workActivity) {
        m_store.deleteWorkActivitiy(recordName);
        if (!stored())
            return false;
        say("Work Activity Deleted");
        post(ZestraCloudWorkActivityDeleted, Clock::current());
    }
    return true;
}
