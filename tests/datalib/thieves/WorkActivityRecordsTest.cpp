#include <gtest/gtest.h>

#include <QStringList>

#include "datalib/store/RawSql.h"
#include "datalib/store/StoreFixture.h"
#include "support/ManualClock.h"
#include "thieves/WorkActivityRecords.h"

namespace {

QStringList names(const std::optional<QList<WorkActivity>>& activities)
{
    QStringList list;
    for (const WorkActivity& activity : activities.value_or(QList<WorkActivity>()))
        list.append(activity.name.value_or(QStringLiteral("<none>")));
    return list;
}

class WorkActivityRecordsTest : public StoreFixture {
protected:
    // A stretch named after where it starts, one minute long unless told.
    void record(const char* name, const char* startLocal, double seconds = 60,
                const char* identifier = "slack")
    {
        store->makeWorkActivity(
            QLatin1String(name), day(startLocal), day(startLocal).addingTimeInterval(seconds),
            QLatin1String(identifier), QStringLiteral("application"), std::nullopt);
    }
    int rows() { return RawSql::queryInt(storePath(), "SELECT count(*) FROM WorkActivity"); }
};

TEST_F(WorkActivityRecordsTest, ARecordIsStoredUploadedAndFoundAgainByItsStart)
{
    store->makeWorkActivity(QStringLiteral("Slack"), day("2026-06-10T09:00:00"),
                            day("2026-06-10T09:12:30"), QStringLiteral("com.slack.Slack"),
                            QStringLiteral("application"), QByteArray("<svg/>"));
    EXPECT_EQ(store->workActivitiesPendingUpload()->size(), 1);
    settle();
    EXPECT_EQ(cloud->calls(), QStringList{"saveWorkActivity"});
    const QList<WorkActivity> stored = *store->workActivities();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].identifier, "com.slack.Slack");
    EXPECT_EQ(stored[0].kind, "application");
    EXPECT_EQ(stored[0].startTime, at("2026-06-10T09:00:00"));
    EXPECT_EQ(stored[0].endTime, at("2026-06-10T09:12:30"));
    EXPECT_EQ(stored[0].image, QByteArray("<svg/>"));
    EXPECT_EQ(stored[0].cloudRecordID, cloud->lastRecordName());
    EXPECT_TRUE(store->workActivitiesPendingUpload()->isEmpty());

    // A failed upload leaves the record waiting for the first copy to the cloud.
    cloud->answer = RecordingCloudSync::Answer::otherFailure;
    record("later", "2026-06-10T10:00:00");
    settle();
    EXPECT_EQ(names(store->workActivitiesPendingUpload()), QStringList{"later"});

    WorkActivity remote = stored[0];
    remote.startTime = at("2026-06-10T11:00:00");
    remote.cloudRecordID = QStringLiteral("from-elsewhere");
    store->insertWorkActivity(remote);
    EXPECT_EQ(cloud->calls().size(), 2) << "an activity from the cloud is not sent back";
    store->deleteWorkActivitiy(QStringLiteral("from-elsewhere"));
    EXPECT_EQ(rows(), 2);
}

TEST_F(WorkActivityRecordsTest, ADayHoldsWhatStartedWithinItsLocalBounds)
{
    record("before", "2026-06-09T23:50:00", 1200);
    record("first", "2026-06-10T00:00:00");
    record("last", "2026-06-10T23:59:59");
    record("next", "2026-06-11T00:00:00");
    EXPECT_EQ(names(store->workActivities(day("2026-06-10T15:00:00"))),
              (QStringList{"first", "last"}));

    // The day the clocks go back has 25 hours; its last one is still that day.
    record("late autumn", "2026-10-25T23:30:00");
    record("after autumn", "2026-10-26T00:00:00");
    EXPECT_EQ(names(store->workActivities(day("2026-10-25T12:00:00"))), QStringList{"late autumn"});
    // The spring day has 23 hours: the next day's first hour is not part of it.
    record("after spring", "2026-03-30T00:30:00");
    EXPECT_TRUE(store->workActivities(day("2026-03-29T12:00:00"))->isEmpty());

    EXPECT_EQ(names(store->workActivities(day("2026-06-10T00:00:00"), day("2026-06-10T23:59:59"))),
              (QStringList{"first", "last"}));
}

TEST_F(WorkActivityRecordsTest, DeletingOneThiefsDayTouchesNothingElse)
{
    record("slack today", "2026-06-10T09:00:00");
    record("slack again", "2026-06-10T16:00:00");
    record("steam today", "2026-06-10T10:00:00", 60, "steam");
    record("slack yesterday", "2026-06-09T10:00:00");
    cloud->answer = RecordingCloudSync::Answer::otherFailure;
    record("slack unsynced", "2026-06-10T18:00:00");
    settle();
    const QString firstRecord = store->workActivities()->at(0).cloudRecordID.value_or(QString());
    const QString secondRecord = store->workActivities()->at(1).cloudRecordID.value_or(QString());

    store->deleteWorkActivitiy(QStringLiteral("slack"), day("2026-06-10T12:00:00"));
    EXPECT_EQ(names(store->workActivities()), (QStringList{"steam today", "slack yesterday"}));
    const QStringList calls = cloud->calls();
    EXPECT_EQ(
        calls.filter(QStringLiteral("deleteWorkActivity")),
        (QStringList{"deleteWorkActivity " + firstRecord, "deleteWorkActivity " + secondRecord}));
}

struct PurgeRow {
    const char* name;
    const char* now;
    const char* limit;
    const char* lastDeleted;
};

void PrintTo(const PurgeRow& row, std::ostream* os)
{
    *os << row.name;
}

class PurgeTest : public WorkActivityRecordsTest, public ::testing::WithParamInterface<PurgeRow> {};

// Seven calendar days back from the start of today, whatever the clocks did in between.
TEST_P(PurgeTest, KeepsTheSevenDaysBeforeTodayFromTheirStart)
{
    const PurgeRow& row = GetParam();
    env->clock().setNow(at(row.now));
    EXPECT_EQ(WorkActivityRecords::purgeLimit(Date::now()).timeIntervalSinceReferenceDate(),
              at(row.limit));

    record("deleted", row.lastDeleted);
    record("kept", row.limit);
    record("kept too", row.now);
    store->deletePrevoiusWeekWorkActivity();
    EXPECT_EQ(names(store->workActivities()), (QStringList{"kept", "kept too"}));
}

INSTANTIATE_TEST_SUITE_P(
    Madrid, PurgeTest,
    ::testing::Values(
        PurgeRow{"ordinary_week", "2026-06-10T12:00:00", "2026-06-03T00:00:00",
                 "2026-06-02T23:59:59"},
        PurgeRow{"last_second_of_the_day", "2026-06-10T23:59:59", "2026-06-03T00:00:00",
                 "2026-06-02T23:59:59"},
        // 7 × 86400 s before today's start would be 23:00 the day before: an hour kept too many.
        PurgeRow{"after_spring_change", "2026-03-31T08:00:00", "2026-03-24T00:00:00",
                 "2026-03-23T23:30:00"},
        // ... and here 01:00 of the seventh day: its first hour lost.
        PurgeRow{"after_autumn_change", "2026-10-27T00:10:00", "2026-10-20T00:00:00",
                 "2026-10-19T23:59:59"}),
    [](const ::testing::TestParamInfo<PurgeRow>& info) { return std::string(info.param.name); });

} // namespace
