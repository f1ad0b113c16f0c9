#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "CloudServer.h"
#include "Console.h"
#include "CuttingProxy.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "cloud/SettingsCloudTokenStore.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"

namespace {

// A long outage: every write made while the server is away reaches it once it is back, also
// when it goes away again in the middle of the replay.
class CloudOutageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Console::setSink([](const QString&) {});
        uri = CloudServer::newUserUri(QStringLiteral("out"));
        ASSERT_FALSE(uri.isEmpty());
    }
    void TearDown() override
    {
        CloudServer::start();
        Console::setSink(nullptr);
    }

    int sessionsOnServer()
    {
        CloudDatabase database(uri);
        CloudFailure failure;
        const auto changes = database.zoneChanges(
            CloudRecordMapping::zoneName(CloudOperation::Record::session), 0, failure);
        return changes ? int(changes->changed.size()) : -1;
    }

    TestEnvironment env;
    QString uri;
};

TEST_F(CloudOutageTest, AThousandWritesOfAnOutageArriveOnceAlsoWhenTheServerGoesAgain)
{
    constexpr int writes = 1000;
    DataController store(env.dataDirectory());
    CloudOperationCache cache(env.root() + QStringLiteral("/operations.cache"));
    auto engine = std::make_shared<CloudDataController>(
        uri, std::nullopt, store, cache,
        std::make_shared<SettingsCloudTokenStore>(env.root() + QStringLiteral("/tokens.ini")));
    store.setCloudSync(engine);

    ASSERT_TRUE(CloudServer::stop());
    for (int i = 0; i < writes; ++i)
        store.addSession(800000000.0 + i, 4);
    engine->waitForWork();
    cache.waitForWork();
    ASSERT_EQ(cache.operations().size(), writes);

    ASSERT_TRUE(CloudServer::start());
    // Away again a third of the way through the replay.
    int answered = 0;
    cache.processPendingOperations(*engine, [&answered](int index, int) {
        answered = index + 1;
        if (index == writes / 3)
            CloudServer::stop();
    });
    cache.waitForWork();
    engine->waitForWork();
    EXPECT_GT(answered, writes / 3);
    EXPECT_LT(answered, writes);
    EXPECT_GT(cache.operations().size(), 0);

    ASSERT_TRUE(CloudServer::start());
    cache.processPendingOperations(*engine);
    cache.waitForWork();
    engine->waitForWork();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(cache.isPending());
    EXPECT_EQ(sessionsOnServer(), writes);
    EXPECT_TRUE(store.unsyncedSessions()->isEmpty());
    store.setCloudSync(nullptr);
}

TEST_F(CloudOutageTest, ACreateWhoseAnswerIsCutOffIsNotMadeTwice)
{
    CuttingProxy proxy(uri);
    ASSERT_FALSE(proxy.uri().isEmpty());
    const auto session = [](double finishedAt) {
        return CloudRecordMapping::sessionRecord(finishedAt, 4);
    };

    // One statement for a batch: committed, then the connection breaks before the answer.
    {
        CloudDatabase database(proxy.uri());
        CloudFailure failure;
        ASSERT_TRUE(database.ensureZones(CloudRecordMapping::zoneNames(), failure))
            << failure.message.toStdString();
        proxy.cutAfterAnswerTo("jsonb_array_elements");
        const QList<CloudRecord> batch{session(800000000.0), session(800000001.0),
                                       session(800000002.0)};
        // The statement goes once more on a new connection and finds what the first made.
        const QList<CloudDatabase::SaveOutcome> first = database.save(batch);
        ASSERT_EQ(proxy.cuts(), 1);
        EXPECT_EQ(sessionsOnServer(), 3);
        const QList<CloudDatabase::SaveOutcome> again = database.save(batch);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(first[i].record && again[i].record);
            EXPECT_EQ(first[i].record->recordName(), again[i].record->recordName());
        }
        EXPECT_EQ(sessionsOnServer(), 3);
    }

    // A live save of the engine, cut the same way, then replayed from the cache.
    DataController store(env.dataDirectory());
    CloudOperationCache cache(env.root() + QStringLiteral("/operations.cache"));
    auto engine = std::make_shared<CloudDataController>(
        proxy.uri(), std::nullopt, store, cache,
        std::make_shared<SettingsCloudTokenStore>(env.root() + QStringLiteral("/tokens.ini")));
    store.setCloudSync(engine);
    proxy.cutAfterAnswerTo("INSERT INTO zestra.records");
    store.addSession(800000100.0, 4);
    engine->waitForWork();
    cache.waitForWork();
    ASSERT_EQ(proxy.cuts(), 2);
    cache.processPendingOperations(*engine);
    cache.waitForWork();
    engine->waitForWork();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(sessionsOnServer(), 4);
    EXPECT_TRUE(store.unsyncedSessions()->isEmpty());
    store.setCloudSync(nullptr);
}

} // namespace
