#include <gtest/gtest.h>

#include <cmath>

#include <QSet>
#include <QUrl>

#include "CloudServer.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

const QString sessionsZone = QStringLiteral("SessionsZone");

// Dates whose shortest decimal text is long: a rounding anywhere would show.
const double oddDate = 786543210.98765432;
const double nextDate = std::nextafter(600000000.1234568, 1e12);

QSet<QString> namesOf(const QList<CloudRecord>& records)
{
    QSet<QString> names;
    for (const CloudRecord& record : records)
        names.insert(record.recordName());
    return names;
}

} // namespace

class CloudDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
    }

    std::unique_ptr<CloudDatabase> database(qint64 quota = 1024 * 1024, int pageSize = 200)
    {
        CloudError error;
        const std::optional<CloudUsers::User> added =
            CloudUsers::add(*admin, CloudServer::uniqueName(QStringLiteral("u")), quota, error);
        EXPECT_TRUE(added) << error.message.toStdString();
        user = added.value_or(CloudUsers::User{});
        auto opened = std::make_unique<CloudDatabase>(user.uri, std::nullopt, pageSize);
        CloudFailure failure;
        EXPECT_TRUE(opened->ensureZones(CloudRecordMapping::zoneNames(), failure))
            << failure.message.toStdString();
        return opened;
    }

    // The saved records, failing the test for any that was not saved.
    QList<CloudRecord> saved(CloudDatabase& database, const QList<CloudRecord>& records)
    {
        QList<CloudRecord> result;
        for (const CloudDatabase::SaveOutcome& outcome : database.save(records)) {
            EXPECT_TRUE(outcome.record)
                << (outcome.failure ? outcome.failure->message.toStdString() : std::string());
            if (outcome.record)
                result.append(*outcome.record);
        }
        return result;
    }

    std::unique_ptr<PgConnection> admin;
    CloudUsers::User user;
};

TEST_F(CloudDatabaseTest, EveryRecordTypeComesBackWithExactDatesAndAssetBytes)
{
    const std::unique_ptr<CloudDatabase> cloud = database();
    TaskInfoParameter taskInfo(QStringLiteral("Write"), QStringLiteral("blue"), Date(oddDate));
    taskInfo.taskDescription = QStringLiteral("chapter ñ \"two\"");
    const QList<CloudRecord> infos = saved(*cloud, {CloudRecordMapping::taskInfoRecord(taskInfo)});
    ASSERT_EQ(infos.size(), 1);
    TaskParameter task;
    task.startTime = nextDate;
    task.endTime = nextDate + 1500;
    task.duration = 1500;
    task.freeTimeDuration = 300;
    Thief thief;
    thief.name = QStringLiteral("Mail");
    thief.identifier = QStringLiteral("org.mail");
    thief.kind = QStringLiteral("application");
    thief.isActive = true;
    thief.image = QByteArray("\x00\xff\x01jpg\x00", 7);
    WorkActivity activity;
    activity.startTime = 0.1 + 0.2;
    activity.endTime = oddDate;
    activity.name = QStringLiteral("news");
    const QList<CloudRecord> records =
        saved(*cloud,
              {CloudRecordMapping::taskRecord(task, infos[0].recordName()),
               CloudRecordMapping::sessionRecord(oddDate, (1LL << 53) + 1),
               CloudRecordMapping::goalRecord(nextDate, 8), CloudRecordMapping::thiefRecord(thief),
               CloudRecordMapping::workActivityRecord(activity)});
    ASSERT_EQ(records.size(), 5);

    CloudFailure failure;
    const std::optional<QList<CloudRecord>> fetched =
        cloud->fetch({infos[0].recordName(), records[0].recordName(), records[1].recordName(),
                      records[2].recordName(), records[3].recordName(), records[4].recordName()},
                     {}, failure);
    ASSERT_TRUE(fetched) << failure.message.toStdString();
    QMap<QString, CloudRecord> byType;
    for (const CloudRecord& record : *fetched)
        byType.insert(record.recordType(), record);
    ASSERT_EQ(byType.size(), 6);

    const auto info = CloudRecordMapping::taskInfoParameter(byType[QStringLiteral("TaskInfo")]);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, taskInfo.name);
    EXPECT_EQ(info->color, taskInfo.color);
    EXPECT_EQ(info->taskDescription, taskInfo.taskDescription);
    EXPECT_EQ(info->createdAt.timeIntervalSinceReferenceDate(), oddDate);
    const CloudRecord& taskRecord = byType[QStringLiteral("Task")];
    EXPECT_EQ(taskRecord.zoneName(), QStringLiteral("TasksZone"));
    const auto readTask = CloudRecordMapping::taskParameter(taskRecord);
    ASSERT_TRUE(readTask);
    EXPECT_EQ(readTask->startTime, nextDate);
    EXPECT_EQ(readTask->endTime, nextDate + 1500);
    EXPECT_EQ(readTask->duration, 1500);
    EXPECT_EQ(readTask->freeTimeDuration, 300);
    EXPECT_EQ(CloudRecordMapping::taskInfoReference(taskRecord), infos[0].recordName());
    const auto session = CloudRecordMapping::session(byType[QStringLiteral("Session")]);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->at, oddDate);
    EXPECT_EQ(session->tasksCount, (1LL << 53) + 1);
    const auto goal = CloudRecordMapping::goal(byType[QStringLiteral("Goal")]);
    ASSERT_TRUE(goal);
    EXPECT_EQ(goal->at, nextDate);
    const auto readThief = CloudRecordMapping::thief(byType[QStringLiteral("Thief")]);
    ASSERT_TRUE(readThief);
    EXPECT_EQ(readThief->image, thief.image);
    EXPECT_TRUE(readThief->isActive);
    EXPECT_FALSE(readThief->preloaded);
    EXPECT_FALSE(readThief->about);
    EXPECT_EQ(readThief->cloudRecordID, records[3].recordName());
    const auto readActivity =
        CloudRecordMapping::workActivity(byType[QStringLiteral("WorkActivity")]);
    ASSERT_TRUE(readActivity);
    EXPECT_EQ(readActivity->startTime, 0.1 + 0.2);
    EXPECT_EQ(readActivity->endTime, oddDate);
    EXPECT_FALSE(byType[QStringLiteral("WorkActivity")].fields().contains(QStringLiteral("image")));
}

TEST_F(CloudDatabaseTest, AnEditOfSomeKeysKeepsTheOthersAndAStaleTagIsRefused)
{
    const std::unique_ptr<CloudDatabase> cloud = database();
    Thief thief;
    thief.name = QStringLiteral("Chat");
    thief.identifier = QStringLiteral("org.chat");
    thief.kind = QStringLiteral("application");
    thief.image = QByteArray(3000, 'x');
    const QList<CloudRecord> first = saved(*cloud, {CloudRecordMapping::thiefRecord(thief)});
    ASSERT_EQ(first.size(), 1);

    CloudFailure failure;
    const auto partial =
        cloud->fetch({first[0].recordName()}, {QStringLiteral("isActive")}, failure);
    ASSERT_TRUE(partial && partial->size() == 1);
    CloudRecord edit = partial->first();
    EXPECT_EQ(edit.fields().keys(), QStringList{QStringLiteral("isActive")});
    edit.set(QStringLiteral("isActive"), CloudField::boolean(true));
    const QList<CloudRecord> second = saved(*cloud, {edit});
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second[0].changeTag(), first[0].changeTag());

    const auto whole = cloud->fetch({first[0].recordName()}, {}, failure);
    ASSERT_TRUE(whole && whole->size() == 1);
    const auto read = CloudRecordMapping::thief(whole->first());
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->isActive);
    EXPECT_EQ(read->name, thief.name);
    EXPECT_EQ(read->image, thief.image);

    // Saved with the tag it was first read with: someone else saved since.
    CloudRecord stale = first[0];
    stale.set(QStringLiteral("isActive"), CloudField::boolean(false));
    const QList<CloudDatabase::SaveOutcome> refused = cloud->save({stale});
    ASSERT_TRUE(refused[0].failure);
    EXPECT_EQ(refused[0].failure->code, CloudFailure::ServerRecordChanged);
    EXPECT_FALSE(refused[0].failure->isNetworkFailure());

    // Without a tag it overwrites.
    stale.setChangeTag(QString());
    EXPECT_EQ(saved(*cloud, {stale}).size(), 1);
    const auto last = cloud->fetch({first[0].recordName()}, {QStringLiteral("isActive")}, failure);
    ASSERT_TRUE(last && last->size() == 1);
    EXPECT_EQ(last->first().int64(QStringLiteral("isActive")), 0);
}

TEST_F(CloudDatabaseTest, APassedQuotaIsCode25AndLeavesNothingBehind)
{
    const std::unique_ptr<CloudDatabase> cloud = database(4000);
    WorkActivity big;
    big.startTime = 10;
    big.endTime = 20;
    big.image = QByteArray(5000, '\x7f');
    const QList<CloudDatabase::SaveOutcome> outcomes = cloud->save(
        {CloudRecordMapping::workActivityRecord(big), CloudRecordMapping::sessionRecord(30, 1)});
    ASSERT_EQ(outcomes.size(), 2);
    ASSERT_TRUE(outcomes[0].failure);
    EXPECT_EQ(outcomes[0].failure->code, CloudFailure::QuotaExceeded);
    EXPECT_TRUE(outcomes[1].record);

    CloudFailure failure;
    const auto changes = cloud->zoneChanges(QStringLiteral("WorksActivityZone"), 0, failure);
    ASSERT_TRUE(changes) << failure.message.toStdString();
    EXPECT_TRUE(changes->changed.isEmpty());
}

TEST_F(CloudDatabaseTest, ABatchWithOneRecordTwiceIsSavedOneByOneIntoOneRecord)
{
    const std::unique_ptr<CloudDatabase> cloud = database();
    const QList<CloudRecord> batch{CloudRecordMapping::sessionRecord(100, 1),
                                   CloudRecordMapping::sessionRecord(100, 2),
                                   CloudRecordMapping::sessionRecord(101, 1)};
    const QList<CloudRecord> records = saved(*cloud, batch);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].recordName(), records[1].recordName());
    EXPECT_NE(records[0].recordName(), records[2].recordName());

    CloudFailure failure;
    const auto changes = cloud->zoneChanges(QStringLiteral("SessionsZone"), 0, failure);
    ASSERT_TRUE(changes) << failure.message.toStdString();
    ASSERT_EQ(changes->changed.size(), 2);
    for (const CloudRecord& record : changes->changed) {
        if (record.recordName() == records[0].recordName()) {
            EXPECT_EQ(record.int64(QStringLiteral("tasksCount")), 2);
        }
    }
}

TEST_F(CloudDatabaseTest, ChangesSinceATokenAreExactlyTheLaterOnesAcrossPages)
{
    const std::unique_ptr<CloudDatabase> cloud = database(1024 * 1024, 3);
    QList<CloudRecord> sessions;
    for (int i = 0; i < 4; ++i)
        sessions.append(CloudRecordMapping::sessionRecord(100 + i, i));
    const QList<CloudRecord> early = saved(*cloud, sessions);
    saved(*cloud, {CloudRecordMapping::goalRecord(5, 1)});

    CloudFailure failure;
    const auto all = cloud->changedZones(0, failure);
    ASSERT_TRUE(all) << failure.message.toStdString();
    EXPECT_TRUE(all->zones.contains(sessionsZone));
    EXPECT_TRUE(all->zones.contains(QStringLiteral("GoalsZone")));
    const auto first = cloud->zoneChanges(sessionsZone, 0, failure);
    ASSERT_TRUE(first);
    EXPECT_EQ(namesOf(first->changed), namesOf(early));
    EXPECT_EQ(first->token, all->token);

    QList<CloudRecord> more;
    for (int i = 0; i < 7; ++i)
        more.append(CloudRecordMapping::sessionRecord(200 + i, i));
    const QList<CloudRecord> late = saved(*cloud, more);
    const auto removed = cloud->remove({early[0].recordName(), early[1].recordName(),
                                        early[2].recordName(), early[3].recordName()},
                                       failure);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->size(), 4);

    const auto zones = cloud->changedZones(first->token, failure);
    ASSERT_TRUE(zones);
    EXPECT_EQ(zones->zones, QStringList{sessionsZone});
    const auto later = cloud->zoneChanges(sessionsZone, first->token, failure);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->changed.size(), 7);
    EXPECT_EQ(namesOf(later->changed), namesOf(late));
    QSet<QString> deleted;
    for (const CloudDatabase::Deletion& deletion : later->deleted) {
        EXPECT_EQ(deletion.recordType, QStringLiteral("Session"));
        deleted.insert(deletion.recordName);
    }
    EXPECT_EQ(later->deleted.size(), 4);
    EXPECT_EQ(deleted, namesOf(early));
    EXPECT_EQ(later->token, zones->token);

    const auto none = cloud->zoneChanges(sessionsZone, later->token, failure);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->changed.isEmpty());
    EXPECT_TRUE(none->deleted.isEmpty());
}

TEST_F(CloudDatabaseTest, RecordsBeforeADateComePageByPage)
{
    const std::unique_ptr<CloudDatabase> cloud = database(1024 * 1024, 3);
    QList<CloudRecord> activities;
    for (int i = 1; i <= 8; ++i) {
        WorkActivity activity;
        activity.startTime = i * 10;
        activity.endTime = i * 10 + 5;
        activities.append(CloudRecordMapping::workActivityRecord(activity));
    }
    const QList<CloudRecord> all = saved(*cloud, activities);
    ASSERT_EQ(all.size(), 8);

    QList<CloudRecord> old;
    std::optional<QString> cursor;
    int pages = 0;
    do {
        CloudFailure failure;
        const auto page = cloud->recordsBefore(QStringLiteral("WorkActivity"),
                                               QStringLiteral("WorksActivityZone"),
                                               QStringLiteral("startTime"), 55, cursor, failure);
        ASSERT_TRUE(page) << failure.message.toStdString();
        old.append(page->records);
        cursor = page->cursor;
        ++pages;
    } while (cursor && pages < 10);
    EXPECT_EQ(namesOf(old), namesOf(all.mid(0, 5)));
    EXPECT_GE(pages, 2);
}

TEST_F(CloudDatabaseTest, APasswordApartFromTheUriOverridesIt)
{
    database();
    // postgresql://name:password@/postgres?host=...
    const qsizetype colon = user.uri.indexOf(u':', 13);
    const qsizetype at = user.uri.indexOf(u'@');
    const QString password =
        QUrl::fromPercentEncoding(user.uri.mid(colon + 1, at - colon - 1).toUtf8());
    const QString bare = user.uri.left(colon) + user.uri.mid(at);

    CloudFailure failure;
    CloudDatabase right(bare, password);
    EXPECT_EQ(right.accountStatus(failure), CloudDatabase::AccountStatus::Available)
        << failure.message.toStdString();
    CloudDatabase wrong(user.uri, QStringLiteral("not-the-password"));
    EXPECT_EQ(wrong.accountStatus(failure), CloudDatabase::AccountStatus::NoAccount)
        << failure.message.toStdString();
    EXPECT_EQ(failure.code, CloudFailure::NotAuthenticated);
}

TEST_F(CloudDatabaseTest, AStoppedServerIsANetworkFailureUntilItIsBack)
{
    const std::unique_ptr<CloudDatabase> cloud = database();
    CloudFailure failure;
    ASSERT_EQ(cloud->accountStatus(failure), CloudDatabase::AccountStatus::Available);

    ASSERT_TRUE(CloudServer::stop());
    const QList<CloudDatabase::SaveOutcome> down = cloud->save(
        {CloudRecordMapping::sessionRecord(1, 1), CloudRecordMapping::goalRecord(1, 1)});
    const std::optional<CloudDatabase::AccountStatus> status = cloud->accountStatus(failure);
    const bool started = CloudServer::start();

    ASSERT_EQ(down.size(), 2);
    for (const CloudDatabase::SaveOutcome& outcome : down) {
        ASSERT_TRUE(outcome.failure);
        EXPECT_TRUE(outcome.failure->isNetworkFailure()) << outcome.failure->code;
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(failure.code, CloudFailure::NetworkUnavailable);
    ASSERT_TRUE(started);
    EXPECT_EQ(saved(*cloud, {CloudRecordMapping::sessionRecord(1, 1)}).size(), 1);
}

TEST_F(CloudDatabaseTest, ATasksIntervalsComePageByPageAndAClearedZoneLeavesDeletions)
{
    const std::unique_ptr<CloudDatabase> cloud = database(1024 * 1024, 3);
    const QList<CloudRecord> infos =
        saved(*cloud, {CloudRecordMapping::taskInfoRecord(
                           TaskInfoParameter(QStringLiteral("A"), QStringLiteral("red"))),
                       CloudRecordMapping::taskInfoRecord(
                           TaskInfoParameter(QStringLiteral("B"), QStringLiteral("red")))});
    ASSERT_EQ(infos.size(), 2);
    QList<CloudRecord> tasks;
    for (int i = 0; i < 7; ++i) {
        TaskParameter task;
        task.startTime = i;
        tasks.append(CloudRecordMapping::taskRecord(task, infos[i < 5 ? 0 : 1].recordName()));
    }
    const QList<CloudRecord> all = saved(*cloud, tasks);
    ASSERT_EQ(all.size(), 7);

    QList<CloudRecord> ofA;
    std::optional<QString> cursor;
    CloudFailure failure;
    for (int pages = 0; pages < 10; ++pages) {
        const auto page = cloud->recordsReferencing(
            QStringLiteral("Task"), QStringLiteral("TasksZone"), QStringLiteral("taskInfo"),
            infos[0].recordName(), cursor, failure);
        ASSERT_TRUE(page) << failure.message.toStdString();
        ofA.append(page->records);
        cursor = page->cursor;
        if (!cursor)
            break;
    }
    EXPECT_EQ(namesOf(ofA), namesOf(all.mid(0, 5)));

    EXPECT_EQ(cloud->zones(failure), CloudRecordMapping::zoneNames());
    const auto before = cloud->changedZones(0, failure);
    ASSERT_TRUE(before);
    EXPECT_EQ(cloud->clearZones({QStringLiteral("TasksZone")}, failure), 7);
    const auto changes = cloud->zoneChanges(QStringLiteral("TasksZone"), before->token, failure);
    ASSERT_TRUE(changes);
    EXPECT_EQ(changes->deleted.size(), 7);
    EXPECT_EQ(cloud->changedZones(before->token, failure)->zones,
              QStringList{QStringLiteral("TasksZone")});

    const QList<CloudDatabase::SaveOutcome> nowhere =
        cloud->save({CloudRecord(QStringLiteral("Task"), QStringLiteral("NoSuchZone"))});
    ASSERT_TRUE(nowhere[0].failure);
    EXPECT_EQ(nowhere[0].failure->code, CloudFailure::ZoneNotFound);
}

TEST_F(CloudDatabaseTest, AUserWhoseAccountWasDeletedHasNoAccount)
{
    const std::unique_ptr<CloudDatabase> cloud = database();
    CloudFailure failure;
    ASSERT_EQ(cloud->accountStatus(failure), CloudDatabase::AccountStatus::Available);
    ASSERT_TRUE(
        sql(*admin, QStringLiteral("DELETE FROM zestra.accounts WHERE owner = $1"), {user.name})
            .ok);

    EXPECT_EQ(cloud->accountStatus(failure), CloudDatabase::AccountStatus::NoAccount);
    const QList<CloudDatabase::SaveOutcome> outcomes =
        cloud->save({CloudRecordMapping::sessionRecord(1, 1)});
    ASSERT_TRUE(outcomes[0].failure);
    EXPECT_FALSE(outcomes[0].failure->isNetworkFailure());
    EXPECT_FALSE(cloud->channel(failure));
    EXPECT_EQ(failure.code, CloudFailure::NotAuthenticated);
}
