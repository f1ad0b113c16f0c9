#include <gtest/gtest.h>

#include <QStringList>

#include "CloudServer.h"
#include "Console.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudMigration.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "thieves/ThiefDictionary.h"

namespace {

class CloudMigrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Console::setSink([this](const QString& line) { lines.append(line); });
        env.clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T18:00:00")));
        store = std::make_unique<DataController>(env.dataDirectory());
        admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
    }
    void TearDown() override { Console::setSink(nullptr); }

    std::unique_ptr<CloudDatabase> cloud(qint64 quota = 4 * 1024 * 1024, int pageSize = 200)
    {
        CloudError error;
        const auto user =
            CloudUsers::add(*admin, CloudServer::uniqueName(QStringLiteral("mig")), quota, error);
        EXPECT_TRUE(user) << error.message.toStdString();
        return std::make_unique<CloudDatabase>(user.value_or(CloudUsers::User{}).uri, std::nullopt,
                                               pageSize);
    }

    static double at(const char* isoLocal)
    {
        return TestEnvironment::localTime(QString::fromLatin1(isoLocal));
    }

    void work(const char* startLocal, const std::optional<QString>& task)
    {
        TaskParameter parameter;
        parameter.startTime = at(startLocal);
        parameter.endTime = at(startLocal) + 1500;
        parameter.duration = 1500;
        parameter.freeTimeDuration = 300;
        parameter.taskName = task;
        store->addTask(parameter);
    }

    // The records of a zone on the server, every page.
    QList<CloudRecord> recordsOf(CloudDatabase& database, CloudOperation::Record kind)
    {
        CloudFailure failure;
        const auto changes = database.zoneChanges(CloudRecordMapping::zoneName(kind), 0, failure);
        EXPECT_TRUE(changes) << failure.message.toStdString();
        return changes ? changes->changed : QList<CloudRecord>();
    }

    TestEnvironment env;
    std::unique_ptr<DataController> store;
    std::unique_ptr<PgConnection> admin;
    QStringList lines;
};

TEST(CloudMigrationBatchTest, FourHundredAndOneRecordsMakeTwoBatches)
{
    const QList<CloudRecord> records(401, CloudRecordMapping::sessionRecord(1.0, 4));
    const QList<QList<CloudRecord>> batches = CloudMigration::batches(records);
    ASSERT_EQ(batches.size(), 2);
    EXPECT_EQ(batches[0].size(), 400);
    EXPECT_EQ(batches[1].size(), 1);
    EXPECT_TRUE(CloudMigration::batches({}).isEmpty());
}

TEST_F(CloudMigrationTest, EverythingLocalGoesUpOnceWithItsReferencesButNoPreloadedThief)
{
    store->addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#59b6e8")));
    work("2026-06-10T09:00:00", QStringLiteral("Write"));
    work("2026-06-10T09:30:00", QStringLiteral("Write"));
    work("2026-06-10T10:00:00", std::nullopt);
    store->addSession(at("2026-06-10T10:30:00"), 3);
    store->addGoal(at("2026-06-10T10:31:00"), 3);
    ASSERT_TRUE(store->loadThieves());
    store->addThieve(ThiefDictionary::make(QStringLiteral("Vimeo"), QStringLiteral("vimeo.com"),
                                           QStringLiteral("website"), true, false),
                     std::nullopt);
    store->makeWorkActivity(QStringLiteral("Vimeo"), Date(at("2026-06-10T11:00:00")),
                            Date(at("2026-06-10T11:05:00")), QStringLiteral("vimeo.com"),
                            QStringLiteral("website"), std::nullopt);

    const std::unique_ptr<CloudDatabase> database = cloud();
    CloudMigration migration(*store, *database);
    ASSERT_TRUE(migration.migrateToCloud()) << lines.join(QLatin1Char('\n')).toStdString();

    const QList<CloudRecord> infos = recordsOf(*database, CloudOperation::Record::taskInfo);
    ASSERT_EQ(infos.size(), 1);
    const QList<CloudRecord> tasks = recordsOf(*database, CloudOperation::Record::task);
    ASSERT_EQ(tasks.size(), 3);
    int referencing = 0;
    for (const CloudRecord& task : tasks)
        referencing += CloudRecordMapping::taskInfoReference(task) == infos.first().recordName();
    EXPECT_EQ(referencing, 2);
    EXPECT_EQ(recordsOf(*database, CloudOperation::Record::session).size(), 1);
    EXPECT_EQ(recordsOf(*database, CloudOperation::Record::goal).size(), 1);
    const QList<CloudRecord> thieves = recordsOf(*database, CloudOperation::Record::thief);
    ASSERT_EQ(thieves.size(), 1);
    EXPECT_EQ(thieves.first().string(QStringLiteral("identifier")), QStringLiteral("vimeo.com"));
    EXPECT_EQ(recordsOf(*database, CloudOperation::Record::workActivity).size(), 1);

    // Every local object now has its record name: a second run uploads nothing.
    EXPECT_TRUE(store->unsyncedPomodoros()->isEmpty());
    EXPECT_TRUE(store->unsyncedTaskInfos()->isEmpty());
    EXPECT_TRUE(store->thievesPendingUpload()->isEmpty());
    EXPECT_TRUE(store->workActivitiesPendingUpload()->isEmpty());
    ASSERT_TRUE(migration.migrateToCloud());
    EXPECT_EQ(recordsOf(*database, CloudOperation::Record::task).size(), 3);
}

TEST_F(CloudMigrationTest, AnUnfinishedUploadIsNoSuccessAndNoAccountIsNone)
{
    for (int i = 0; i < 30; ++i)
        store->addSession(at("2026-06-10T10:30:00") + i, 4);
    // Room for a few sessions only.
    const std::unique_ptr<CloudDatabase> full = cloud(512);
    EXPECT_FALSE(CloudMigration(*store, *full).migrateToCloud());
    EXPECT_FALSE(store->unsyncedSessions()->isEmpty());

    CloudDatabase nowhere(QStringLiteral("postgresql://nobody@/zestra?host=") + env.root() +
                          QStringLiteral("/no-server"));
    EXPECT_FALSE(CloudMigration(*store, nowhere).migrateToCloud());
    EXPECT_TRUE(lines.contains(QStringLiteral("No estás conectado @ migrateToCloud")));
}

TEST_F(CloudMigrationTest, ThePurgeKeepsTheLastSevenCalendarDaysAcrossPages)
{
    const std::unique_ptr<CloudDatabase> database = cloud(4 * 1024 * 1024, 2);
    CloudFailure failure;
    ASSERT_TRUE(database->ensureZones(CloudRecordMapping::zoneNames(), failure));
    QList<CloudRecord> records;
    // Five before the start of June 3 (local), one exactly at it, one after.
    for (const char* start : {"2026-06-01T09:00:00", "2026-06-01T10:00:00", "2026-06-02T09:00:00",
                              "2026-06-02T12:00:00", "2026-06-02T23:59:59", "2026-06-03T00:00:00",
                              "2026-06-09T09:00:00"}) {
        WorkActivity activity;
        activity.name = QStringLiteral("Slack");
        activity.identifier = QStringLiteral("com.slack.Slack");
        activity.kind = QStringLiteral("application");
        activity.startTime = at(start);
        activity.endTime = at(start) + 60;
        records.append(CloudRecordMapping::workActivityRecord(activity));
    }
    for (const auto& outcome : database->save(records))
        ASSERT_TRUE(outcome.record);

    ASSERT_TRUE(CloudMigration(*store, *database).deletePrevoiusWeekWorkActivity(Date::now()));
    QList<double> kept;
    for (const CloudRecord& record : recordsOf(*database, CloudOperation::Record::workActivity))
        kept.append(record.date(QStringLiteral("startTime")).value_or(0));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (QList<double>{at("2026-06-03T00:00:00"), at("2026-06-09T09:00:00")}));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("deletePrevoiusWeekWorkActivity(cursor:) Completed.")));
}

} // namespace
