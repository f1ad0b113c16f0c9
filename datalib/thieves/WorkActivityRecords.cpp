#include "thieves/WorkActivityRecords.h"

#include "Console.h"
#include "store/CloudLink.h"
#include "store/SqlQuery.h"
#include "store/StoreContext.h"
#include "store/StoreLog.h"

#define ACTIVITY_COLUMNS "name, identifier, kind, startTime, endTime, image, cloudRecordID"

WorkActivityRecords::WorkActivityRecords(StoreContext& context, CloudLink& cloud)
    : m_context(context)
    , m_cloud(cloud)
{}

Date WorkActivityRecords::purgeLimit(Date now)
{
    Date limit = now.beginningOfDay();
    // Twelve hours before a midnight lies in the previous day whatever the clocks did.
    for (int day = 0; day < 7; ++day)
        limit = limit.addingTimeInterval(-12 * 3600.0).beginningOfDay();
    return limit;
}

WorkActivity WorkActivityRecords::activityFrom(const SqlQuery& query)
{
    WorkActivity activity;
    activity.name = query.textAt(0);
    activity.identifier = query.textAt(1);
    activity.kind = query.textAt(2);
    activity.startTime = query.doubleAt(3);
    activity.endTime = query.doubleAt(4);
    activity.image = query.blobAt(5);
    activity.cloudRecordID = query.textAt(6);
    return activity;
}

bool WorkActivityRecords::insert(const WorkActivity& activity)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context,
                   "INSERT INTO WorkActivity (" ACTIVITY_COLUMNS ") VALUES (?, ?, ?, ?, ?, ?, ?)");
    query.bind(1, activity.name)
        .bind(2, activity.identifier)
        .bind(3, activity.kind)
        .bind(4, activity.startTime)
        .bind(5, activity.endTime)
        .bind(6, activity.image)
        .bind(7, activity.cloudRecordID);
    if (!query.execWrite()) {
        StoreLog::error(query);
        return false;
    }
    return m_context.saveContext();
}

void WorkActivityRecords::makeWorkActivity(const QString& named, Date since, Date to,
                                           const QString& identified, const QString& kind,
                                           const std::optional<QByteArray>& image)
{
    WorkActivity activity;
    activity.name = named;
    activity.identifier = identified;
    activity.kind = kind;
    activity.startTime = since.timeIntervalSinceReferenceDate();
    activity.endTime = to.timeIntervalSinceReferenceDate();
    if (image && !image->isEmpty())
        activity.image = image;
    insert(activity);
    // A record kept for a later save still goes to the cloud: its start finds it again.
    m_cloud.cloud()->saveWorkActivity(
        activity, m_cloud.assignOnMainQueue([this, since](const QString& recordID) {
            updateWorkActivity(since, recordID);
        }));
}

void WorkActivityRecords::insertWorkActivity(const WorkActivity& fromCloud)
{
    insert(fromCloud);
}

void WorkActivityRecords::updateWorkActivity(Date dated, const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context,
                   "UPDATE WorkActivity SET cloudRecordID = ?1 WHERE id = (SELECT id FROM "
                   "WorkActivity WHERE startTime = ?2 AND cloudRecordID IS NULL ORDER BY id "
                   "LIMIT 1)");
    query.bind(1, cloudRecordID).bind(2, dated.timeIntervalSinceReferenceDate());
    if (!query.execWrite()) {
        StoreLog::failure("updateWorkActivity(dated:cloudRecordID:)", query.errorDescription());
        return;
    }
    m_context.saveContext();
}

std::optional<QList<WorkActivity>> WorkActivityRecords::collect(SqlQuery& query,
                                                                const char* operation)
{
    QList<WorkActivity> activities;
    while (query.next())
        activities.append(activityFrom(query));
    if (!query.ok()) {
        if (operation)
            Console::line(QStringLiteral("error @ ") + QLatin1String(operation) +
                          QStringLiteral(": ") + query.debugDescription());
        else
            StoreLog::error(query);
        return std::nullopt;
    }
    return activities;
}

std::optional<QList<WorkActivity>> WorkActivityRecords::workActivities()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT " ACTIVITY_COLUMNS " FROM WorkActivity ORDER BY id");
    return collect(query, nullptr);
}

std::optional<QList<WorkActivity>> WorkActivityRecords::workActivities(Date dated)
{
    auto guard = m_context.lock();
    // The local day's own bounds: a day of 23 or 25 hours is not 86 400 seconds long.
    SqlQuery query(m_context, "SELECT " ACTIVITY_COLUMNS " FROM WorkActivity WHERE "
                              "startTime >= ? AND startTime <= ? ORDER BY id");
    query.bind(1, dated.beginningOfDay().timeIntervalSinceReferenceDate())
        .bind(2, dated.endOfDay().timeIntervalSinceReferenceDate());
    return collect(query, "workActivities(dated:)");
}

std::optional<QList<WorkActivity>> WorkActivityRecords::workActivities(Date since, Date to)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT " ACTIVITY_COLUMNS " FROM WorkActivity WHERE "
                              "startTime >= ? AND startTime <= ? ORDER BY id");
    query.bind(1, since.timeIntervalSinceReferenceDate())
        .bind(2, to.timeIntervalSinceReferenceDate());
    return collect(query, "workActivities(since:to:)");
}

std::optional<QList<WorkActivity>> WorkActivityRecords::workActivities(const QString& withThief,
                                                                       Date since, Date to)
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT " ACTIVITY_COLUMNS " FROM WorkActivity WHERE "
                              "identifier = ? AND startTime >= ? AND startTime <= ? ORDER BY id");
    query.bind(1, withThief)
        .bind(2, since.timeIntervalSinceReferenceDate())
        .bind(3, to.timeIntervalSinceReferenceDate());
    return collect(query, "workActivities(withThief:since:to:)");
}

std::optional<QList<WorkActivity>> WorkActivityRecords::workActivitiesPendingUpload()
{
    auto guard = m_context.lock();
    SqlQuery query(m_context, "SELECT " ACTIVITY_COLUMNS
                              " FROM WorkActivity WHERE cloudRecordID IS NULL ORDER BY id");
    return collect(query, nullptr);
}

void WorkActivityRecords::remove(SqlQuery& query, const char* operation)
{
    if (!query.execWrite()) {
        StoreLog::failure(operation, query.errorDescription());
        return;
    }
    m_context.saveContext();
}

void WorkActivityRecords::deleteWorkActivitiy(const QString& identifier, Date dated)
{
    QStringList recordIDs;
    {
        auto guard = m_context.lock();
        m_context.beginWrite();
        const Date since = dated.beginningOfDay();
        const Date to = dated.endOfDay();
        const auto activities = workActivities(identifier, since, to);
        if (!activities)
            return;
        for (const WorkActivity& activity : *activities) {
            if (activity.cloudRecordID)
                recordIDs.append(*activity.cloudRecordID);
        }
        SqlQuery query(m_context, "DELETE FROM WorkActivity WHERE identifier = ? AND "
                                  "startTime >= ? AND startTime <= ?");
        query.bind(1, identifier)
            .bind(2, since.timeIntervalSinceReferenceDate())
            .bind(3, to.timeIntervalSinceReferenceDate());
        remove(query, "deleteWorkActivitiy(_:dated:)");
    }
    for (const QString& recordID : recordIDs)
        m_cloud.cloud()->deleteWorkActivity(recordID);
}

void WorkActivityRecords::deleteWorkActivitiy(const QString& cloudRecordID)
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context, "DELETE FROM WorkActivity WHERE cloudRecordID = ?");
    query.bind(1, cloudRecordID);
    remove(query, "deleteWorkActivitiy(cloudRecordID:)");
}

void WorkActivityRecords::deletePrevoiusWeekWorkActivity()
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context, "DELETE FROM WorkActivity WHERE startTime < ?");
    query.bind(1, purgeLimit(Date::now()).timeIntervalSinceReferenceDate());
    remove(query, "deletePrevoiusWeekWorkActivity()");
}

void WorkActivityRecords::truncateWorkActivities()
{
    auto guard = m_context.lock();
    m_context.beginWrite();
    SqlQuery query(m_context, "DELETE FROM WorkActivity");
    remove(query, "truncateWorkActivities()");
}
