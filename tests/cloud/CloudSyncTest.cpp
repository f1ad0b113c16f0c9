#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUrl>

#include "CloudServer.h"
#include "Console.h"
#include "NotificationCenter.h"
#include "cloud/CloudChangeApplier.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudNotifications.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudRecordWriter.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "cloud/SettingsCloudTokenStore.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "thieves/ThiefDictionary.h"

namespace {

const double t0 = 786543210.5;
const QString thiefID = QStringLiteral("org.example.game");

// Every notification posted, whichever thread posted it.
class Posted {
public:
    struct Entry {
        QString name;
        QVariantMap userInfo;
    };

    Posted()
    {
        QObject::connect(
            &NotificationCenter::defaultCenter(), &NotificationCenter::posted, &m_context,
            [this](const QString& name, const QVariantMap& info) {
                std::lock_guard lock(m_mutex);
                m_entries.append({name, info});
            },
            Qt::DirectConnection);
    }

    QList<Entry> take()
    {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_entries, {});
    }

    static int count(const QList<Entry>& entries, const char* name)
    {
        return int(std::count_if(entries.begin(), entries.end(), [name](const Entry& entry) {
            return entry.name == QLatin1String(name);
        }));
    }

    static std::optional<double> date(const QList<Entry>& entries, const char* name)
    {
        for (const Entry& entry : entries) {
            if (entry.name == QLatin1String(name))
                return entry.userInfo.value(QLatin1String(CloudNotifications::dateKey)).toDouble();
        }
        return std::nullopt;
    }

private:
    QObject m_context;
    std::mutex m_mutex;
    QList<Entry> m_entries;
};

// Lets a test break the store's side of a fetch, or act in the middle of one.
class InjectingApplier final : public CloudChangeApplier {
public:
    using CloudChangeApplier::CloudChangeApplier;

    bool apply(const CloudRecord& record) override
    {
        if (duringApply)
            std::exchange(duringApply, {})();
        if (failingType == record.recordType())
            return false;
        return CloudChangeApplier::apply(record);
    }

    std::function<void()> duringApply;
    QString failingType;
};

// Fails its first saves as the network does (with the delay a busy server asks for, when
// given), and can act right after a save went through.
class FaultyWriter final : public CloudRecordWriter {
public:
    explicit FaultyWriter(const QString& uri)
        : CloudRecordWriter(uri, std::nullopt)
    {}

    std::optional<CloudRecord> save(const CloudRecord& record, CloudFailure& failure) override
    {
        if (failures > 0) {
            --failures;
            failure = {CloudFailure::NetworkUnavailable, QStringLiteral("injected"), retryAfter};
            return std::nullopt;
        }
        std::optional<CloudRecord> saved = CloudRecordWriter::save(record, failure);
        if (saved && afterSave)
            afterSave();
        return saved;
    }

    int failures = 0;
    std::optional<int> retryAfter;
    std::function<void()> afterSave;
};

// One computer: its own store, operation cache, tokens and engine, on the shared account.
struct Computer {
    explicit Computer(const QString& uri, std::unique_ptr<CloudRecordWriter> writer = nullptr)
    {
        auto injecting = std::make_unique<InjectingApplier>(store);
        applier = injecting.get();
        engine = std::make_shared<CloudDataController>(
            uri, std::nullopt, store, cache, tokens,
            CloudDataController::Parts{std::move(injecting), std::move(writer)});
        store.setCloudSync(engine);
    }

    ~Computer()
    {
        store.setCloudSync(nullptr);
        engine.reset();
    }

    // The writes done and the record names they got handed to the store.
    void settle()
    {
        engine->waitForWork();
        cache.waitForWork();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void fetch()
    {
        engine->fetchChanges();
        settle();
    }

    void forgetTokens()
    {
        for (const QString& key : CloudTokenStore::keys())
            tokens->setToken(key, 0);
    }

    DataController::Stats stats() { return store.stats(); }

    QTemporaryDir dir;
    DataController store{dir.path()};
    CloudOperationCache cache{dir.filePath(QStringLiteral("operations.cache"))};
    std::shared_ptr<SettingsCloudTokenStore> tokens =
        std::make_shared<SettingsCloudTokenStore>(dir.filePath(QStringLiteral("settings.ini")));
    InjectingApplier* applier = nullptr;
    std::shared_ptr<CloudDataController> engine;
};

TaskParameter interval(double start)
{
    TaskParameter task;
    task.startTime = start;
    task.endTime = start + 1500;
    task.duration = 1500;
    task.freeTimeDuration = 300;
    task.taskName = QStringLiteral("Write");
    return task;
}

bool sameStats(const DataController::Stats& a, const DataController::Stats& b)
{
    return a.tasks == b.tasks && a.sessions == b.sessions && a.goals == b.goals &&
           a.thieves == b.thieves && a.activities == b.activities;
}

// Brings the server back however the test ends.
struct ServerOutage {
    ServerOutage() { down = CloudServer::stop(); }
    ~ServerOutage() { end(); }
    bool end()
    {
        if (down)
            down = !CloudServer::start();
        return !down;
    }
    bool down = false;
};

} // namespace

class CloudSyncTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        admin = CloudServer::connect(CloudServer::schemaUri());
        ASSERT_TRUE(admin);
        uri = newUser(CloudUsers::defaultQuotaBytes);
        Console::setSink([this](const QString& line) {
            std::lock_guard lock(linesMutex);
            lines.append(line);
        });
    }

    void TearDown() override { Console::setSink(nullptr); }

    QString newUser(qint64 quota)
    {
        CloudError error;
        const std::optional<CloudUsers::User> user =
            CloudUsers::add(*admin, CloudServer::uniqueName(QStringLiteral("sync")), quota, error);
        EXPECT_TRUE(user) << error.message.toStdString();
        return user ? user->uri : QString();
    }

    bool printed(const QString& text)
    {
        std::lock_guard lock(linesMutex);
        return lines.contains(text);
    }

    // Everything of the first test's kinds, made on `a` through the store as the app does.
    void makeOneOfEach(Computer& a)
    {
        a.store.addTaskInfo(
            TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("red"), Date(t0 - 100)));
        a.settle();
        a.store.addTask(interval(t0));
        a.store.addSession(t0 + 1600, 4);
        a.store.addGoal(t0 + 1700, 8);
        a.store.addThieve(ThiefDictionary::make(QStringLiteral("Game"), thiefID,
                                                QStringLiteral("application"), true, false),
                          QByteArray("picture bytes"));
        a.store.makeWorkActivity(QStringLiteral("Game"), Date(t0 + 2000), Date(t0 + 2300), thiefID,
                                 QStringLiteral("application"), std::nullopt);
    }

    TestEnvironment env;
    std::unique_ptr<PgConnection> admin;
    QString uri;
    Posted posted;
    std::mutex linesMutex;
    QStringList lines;
};

TEST_F(CloudSyncTest, WhatOneComputerMakesAppearsOnTheOtherOnce)
{
    Computer a(uri);
    Computer b(uri);
    makeOneOfEach(a);
    // A's own changes come back before their record names do: they link A's rows.
    a.engine->waitForWork();
    a.fetch();
    const DataController::Stats one{1, 1, 1, 1, 1};
    EXPECT_TRUE(sameStats(a.stats(), one));
    EXPECT_TRUE(a.store.unsyncedPomodoros()->isEmpty());
    EXPECT_TRUE(a.store.unsyncedSessions()->isEmpty());
    EXPECT_TRUE(a.store.unsyncedGoals()->isEmpty());
    EXPECT_TRUE(a.store.unsyncedTaskInfos()->isEmpty());
    EXPECT_TRUE(a.store.workActivitiesPendingUpload()->isEmpty());
    const std::optional<QString> thiefRecord = a.store.thief(thiefID)->cloudRecordID;
    ASSERT_TRUE(thiefRecord);
    posted.take();

    b.fetch();
    EXPECT_TRUE(sameStats(b.stats(), one));
    const QList<Pomodoro> pomodoros = *b.store.pomodoros(Date(t0 - 1), Date(t0 + 1));
    ASSERT_EQ(pomodoros.size(), 1);
    EXPECT_EQ(pomodoros.first().taskInfoName, QStringLiteral("Write"));
    EXPECT_EQ(pomodoros.first().taskInfoCloudRecordID,
              a.store.fetchTaskInfo(QStringLiteral("Write"))->cloudRecordID);
    EXPECT_EQ(b.store.thief(thiefID)->cloudRecordID, thiefRecord);
    EXPECT_TRUE(b.store.thief(thiefID)->isActive);
    QList<Posted::Entry> seen = posted.take();
    EXPECT_EQ(Posted::count(seen, ZestraCloudSynchronizationStarted), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudSynchronizationEnd), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudTaskInfoCreated), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudThiefCreated), 1);
    EXPECT_EQ(Posted::date(seen, ZestraCloudTaskCreated), t0);
    EXPECT_EQ(Posted::date(seen, ZestraCloudSessionCreated), t0 + 1600);
    EXPECT_EQ(Posted::date(seen, ZestraCloudGoalCreated), t0 + 1700);
    EXPECT_EQ(Posted::date(seen, ZestraCloudWorkActivityCreated), t0 + 2000);
    EXPECT_TRUE(printed(QStringLiteral("iCloud notification. Goals Created")));

    // The switch is the one thief change the store leaves to its caller.
    a.store.deactivateThief(thiefID);
    bool failed = true;
    a.engine->switchThief(*thiefRecord, false, [&](bool f, bool) { failed = f; });
    a.settle();
    EXPECT_FALSE(failed);
    b.fetch();
    EXPECT_FALSE(b.store.thief(thiefID)->isActive);
    seen = posted.take();
    EXPECT_EQ(Posted::count(seen, ZestraCloudThiefUpdated), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudThiefCreated), 0);

    // Everything again from the beginning, on both: nothing new, nothing doubled.
    a.fetch();
    a.forgetTokens();
    b.forgetTokens();
    a.fetch();
    b.fetch();
    EXPECT_TRUE(sameStats(a.stats(), one));
    EXPECT_TRUE(sameStats(b.stats(), one));
    EXPECT_FALSE(b.store.thief(thiefID)->isActive);
    seen = posted.take();
    for (const char* created :
         {ZestraCloudTaskInfoCreated, ZestraCloudTaskCreated, ZestraCloudSessionCreated,
          ZestraCloudGoalCreated, ZestraCloudThiefCreated, ZestraCloudWorkActivityCreated})
        EXPECT_EQ(Posted::count(seen, created), 0) << created;
}

TEST_F(CloudSyncTest, ADeletionOnOneComputerRemovesTheRowOnTheOther)
{
    Computer a(uri);
    Computer b(uri);
    makeOneOfEach(a);
    a.settle();
    b.fetch();
    ASSERT_TRUE(sameStats(b.stats(), {1, 1, 1, 1, 1}));
    posted.take();

    a.store.deletePomodoro(Date(t0));
    a.store.deleteWorkActivitiy(thiefID, Date(t0 + 2000));
    a.store.deleteTaskInfo(QStringLiteral("Write"));
    a.settle();
    b.fetch();
    EXPECT_TRUE(sameStats(b.stats(), {0, 1, 1, 1, 0}));
    EXPECT_FALSE(b.store.fetchTaskInfo(QStringLiteral("Write")));
    const QList<Posted::Entry> seen = posted.take();
    EXPECT_EQ(Posted::count(seen, ZestraCloudTaskDeleted), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudWorkActivityDeleted), 1);
    EXPECT_EQ(Posted::count(seen, ZestraCloudTaskInfoDeleted), 1);
}

TEST_F(CloudSyncTest, WritesWhileTheServerIsDownWaitAndGoOutWhenItIsBack)
{
    Computer a(uri);
    Computer b(uri);
    a.store.addTask(interval(t0));
    a.settle();
    ASSERT_TRUE(a.store.unsyncedPomodoros()->isEmpty());

    ServerOutage outage;
    ASSERT_TRUE(outage.down);
    std::optional<bool> pending;
    a.engine->saveSession(t0 + 1600, 4, [&](std::optional<QString>, bool, bool p) { pending = p; });
    a.store.addSession(t0 + 1600, 4);
    a.store.deletePomodoro(Date(t0));
    a.settle();
    EXPECT_EQ(pending, true);
    // The direct save above and the store's own one queue the same session twice.
    ASSERT_EQ(a.cache.operations().size(), 3);
    EXPECT_EQ(a.cache.operations().last().operation, CloudOperation::Operation::remove);

    // A server that is away says nothing of when to try again: no replay is scheduled.
    EXPECT_EQ(env.clock().pendingCalls(), 0);
    // Still no server: the replay keeps everything.
    a.engine->processPendingOperations();
    a.settle();
    EXPECT_EQ(a.cache.operations().size(), 3);

    ASSERT_TRUE(outage.end());
    a.engine->processPendingOperations();
    a.settle();
    EXPECT_TRUE(a.cache.operations().isEmpty());
    EXPECT_TRUE(a.store.unsyncedSessions()->isEmpty());

    b.fetch();
    // One session (the second replay found its row saved), and the interval gone.
    EXPECT_TRUE(sameStats(b.stats(), {0, 1, 0, 0, 0}));
    a.fetch();
    EXPECT_TRUE(sameStats(a.stats(), {0, 1, 0, 0, 0}));
}

TEST_F(CloudSyncTest, ABusyServerGetsOneReplayAfterTheDelayItAskedFor)
{
    auto writer = std::make_unique<FaultyWriter>(uri);
    writer->failures = 2;
    writer->retryAfter = 30;
    Computer a(uri, std::move(writer));
    a.store.addSession(t0, 3);
    a.store.addGoal(t0, 5);
    a.settle();
    ASSERT_EQ(a.cache.operations().size(), 2);
    EXPECT_EQ(env.clock().pendingCalls(), 1);

    env.clock().advance(29);
    a.settle();
    EXPECT_EQ(a.cache.operations().size(), 2);

    env.clock().advance(1);
    a.settle();
    EXPECT_TRUE(a.cache.operations().isEmpty());
    EXPECT_TRUE(a.store.unsyncedSessions()->isEmpty());
    EXPECT_TRUE(a.store.unsyncedGoals()->isEmpty());
    EXPECT_EQ(env.clock().pendingCalls(), 0);
}

TEST_F(CloudSyncTest, AReplayedSaveWhoseRowWentAwayLeavesNoRecord)
{
    auto writer = std::make_unique<FaultyWriter>(uri);
    FaultyWriter* faults = writer.get();
    faults->failures = 2;
    Computer a(uri, std::move(writer));
    Computer b(uri);
    const auto makeActivity = [&a](double start) {
        a.store.makeWorkActivity(QStringLiteral("Game"), Date(start), Date(start + 60), thiefID,
                                 QStringLiteral("application"), std::nullopt);
    };
    makeActivity(t0);
    makeActivity(t0 + 86400);
    a.settle();
    ASSERT_EQ(a.cache.operations().size(), 2);

    // One row goes before the replay, the other while its record is being saved.
    a.store.deleteWorkActivitiy(thiefID, Date(t0 + 86400));
    faults->afterSave = [&a] { a.store.deleteWorkActivitiy(thiefID, Date(t0)); };
    a.engine->processPendingOperations();
    a.settle();
    EXPECT_TRUE(a.cache.operations().isEmpty());
    EXPECT_EQ(a.stats().activities, 0);
    {
        std::lock_guard lock(linesMutex);
        EXPECT_EQ(lines.count(QStringLiteral("deleted ok...")), 1);
    }
    b.fetch();
    EXPECT_EQ(b.stats().activities, 0);
    EXPECT_EQ(Posted::count(posted.take(), ZestraCloudWorkActivityCreated), 0);
}

TEST_F(CloudSyncTest, TheAccountCheckTellsAnAccountFromNone)
{
    DataController store(env.dataDirectory());
    CloudOperationCache cache{QString()};
    auto tokens = std::make_shared<SettingsCloudTokenStore>(env.root() + QStringLiteral("/t.ini"));
    std::optional<bool> account;
    std::optional<bool> none;
    CloudDataController engine(uri, std::nullopt, store, cache, tokens);
    CloudDataController stranger(CloudServer::freshDatabaseUri(), std::nullopt, store, cache,
                                 tokens);
    engine.iCloudConnectionOnline([&](bool online) { account = online; });
    stranger.iCloudConnectionOnline([&](bool online) { none = online; });
    engine.waitForWork();
    stranger.waitForWork();
    EXPECT_EQ(account, true);
    EXPECT_EQ(none, false);
}

TEST_F(CloudSyncTest, AFullQuotaIsAnnouncedAndTheWritesWaitForRoom)
{
    const QString uri = newUser(1);
    Computer a(uri);
    std::optional<bool> failed;
    std::optional<bool> pending;
    a.store.addSession(t0, 3);
    a.engine->saveGoal(t0, 3, [&](std::optional<QString>, bool f, bool p) {
        failed = f;
        pending = p;
    });
    a.settle();
    EXPECT_EQ(failed, true);
    EXPECT_EQ(pending, true);
    const QList<Posted::Entry> seen = posted.take();
    EXPECT_EQ(Posted::count(seen, ZestraCloudQuotaExceeded), 2);
    EXPECT_EQ(a.cache.operations().size(), 2);
    EXPECT_EQ(a.store.unsyncedSessions()->size(), 1);

    // A replay while the quota is still full keeps both.
    a.engine->processPendingOperations();
    a.settle();
    EXPECT_EQ(a.cache.operations().size(), 2);

    const std::unique_ptr<PgConnection> admin = CloudServer::connect(CloudServer::schemaUri());
    ASSERT_TRUE(admin);
    ASSERT_TRUE(sql(*admin,
                    QStringLiteral("UPDATE zestra.accounts SET quota_bytes = 1048576 "
                                   "WHERE owner = $1"),
                    {QUrl(uri).userName()})
                    .ok);
    a.engine->processPendingOperations();
    a.settle();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(a.cache.operations().isEmpty());
    EXPECT_TRUE(a.store.unsyncedSessions()->isEmpty());
}

TEST_F(CloudSyncTest, AFetchThatFailsHalfwayKeepsItsTokensAndComesBackForTheRest)
{
    Computer a(uri);
    Computer b(uri);
    a.store.addSession(t0, 3);
    a.store.addGoal(t0, 5);
    a.settle();

    b.applier->failingType = QStringLiteral("Session");
    b.fetch();
    EXPECT_TRUE(sameStats(b.stats(), {0, 0, 1, 0, 0}));
    EXPECT_FALSE(b.tokens->token(QLatin1String(CloudTokenStore::databaseKey)));
    EXPECT_FALSE(b.tokens->token(QStringLiteral("SesssionCloudChangeToken")));
    EXPECT_TRUE(b.tokens->token(QStringLiteral("GoalCloudChangeToken")));
    EXPECT_FALSE(b.store.hasChanges());

    b.applier->failingType.clear();
    b.fetch();
    EXPECT_TRUE(sameStats(b.stats(), {0, 1, 1, 0, 0}));
    EXPECT_TRUE(b.tokens->token(QLatin1String(CloudTokenStore::databaseKey)));
}

TEST_F(CloudSyncTest, ARecordWithoutARequiredFieldIsSkippedAndNotFetchedForever)
{
    Computer b(uri);
    CloudDatabase elsewhere(uri);
    CloudFailure failure;
    ASSERT_TRUE(elsewhere.ensureZones(CloudRecordMapping::zoneNames(), failure));
    CloudRecord broken = CloudRecordMapping::sessionRecord(t0, 3);
    broken.remove(QStringLiteral("tasksCount"));
    ASSERT_TRUE(elsewhere.save({broken, CloudRecordMapping::goalRecord(t0, 5)}).value(1).record);

    b.fetch();
    EXPECT_TRUE(sameStats(b.stats(), {0, 0, 1, 0, 0}));
    EXPECT_TRUE(b.tokens->token(QStringLiteral("SesssionCloudChangeToken")));
    EXPECT_TRUE(b.tokens->token(QLatin1String(CloudTokenStore::databaseKey)));
    std::lock_guard lock(linesMutex);
    EXPECT_EQ(lines.filter(QStringLiteral("lacks a required field")).size(), 1);
}

TEST_F(CloudSyncTest, PushesDuringAFetchBringExactlyOneMore)
{
    Computer a(uri);
    Computer b(uri);
    a.store.addSession(t0, 3);
    a.settle();
    b.applier->duringApply = [&b] {
        for (int push = 0; push < 3; ++push)
            b.engine->fetchChanges();
    };
    posted.take();
    b.fetch();
    const QList<Posted::Entry> seen = posted.take();
    EXPECT_EQ(Posted::count(seen, ZestraCloudSynchronizationStarted), 2);
    EXPECT_EQ(Posted::count(seen, ZestraCloudSynchronizationEnd), 2);
    EXPECT_EQ(b.stats().sessions, 1);

    // A real push: A's commit reaches B's listener, which fetches.
    std::optional<bool> subscribed;
    b.engine->subscribeToCloudEvents([&](bool ok) { subscribed = ok; });
    ASSERT_TRUE(processEventsUntil([&] { return b.engine->isListening(); }, 20000));
    EXPECT_EQ(subscribed, true);
    a.store.addGoal(t0, 5);
    EXPECT_TRUE(processEventsUntil([&] { return b.stats().goals == 1; }, 20000));
}
