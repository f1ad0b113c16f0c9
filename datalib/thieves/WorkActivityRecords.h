#pragma once

#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>

#include "store/Date.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

class CloudLink;
class SqlQuery;
class StoreContext;

// The stretches of time the scanner saw the user spend in front of one application or
// website.
class TALLYCORE_EXPORT WorkActivityRecords {
public:
    WorkActivityRecords(StoreContext& context, CloudLink& cloud);

    // The oldest moment the purge keeps: the start of the local day seven calendar days
    // before `now`'s day (a plain 7 × 86400 s would be an hour off across a clock change).
    // The store's purge and the cloud's use the same limit.
    static Date purgeLimit(Date now);

    void makeWorkActivity(const QString& named, Date since, Date to, const QString& identified,
                          const QString& kind, const std::optional<QByteArray>& image);
    // An activity that arrived from the cloud, with its record name; not uploaded again.
    void insertWorkActivity(const WorkActivity& fromCloud);
    void updateWorkActivity(Date dated, const QString& cloudRecordID);

    std::optional<QList<WorkActivity>> workActivities();
    std::optional<QList<WorkActivity>> workActivities(Date dated);
    std::optional<QList<WorkActivity>> workActivities(Date since, Date to);
    std::optional<QList<WorkActivity>> workActivities(const QString& withThief, Date since,
                                                      Date to);
    std::optional<QList<WorkActivity>> workActivitiesPendingUpload();

    void deleteWorkActivitiy(const QString& identifier, Date dated);
    void deleteWorkActivitiy(const QString& cloudRecordID);
    void deletePrevoiusWeekWorkActivity();
    void truncateWorkActivities();

private:
    static WorkActivity activityFrom(const SqlQuery& query);
    bool insert(const WorkActivity& activity);
    std::optional<QList<WorkActivity>> collect(SqlQuery& query, const char* operation);
    // Runs one delete and saves; a failure says "err @ <operation> -> ...".
    void remove(SqlQuery& query, const char* operation);

    StoreContext& m_context;
    CloudLink& m_cloud;
};
