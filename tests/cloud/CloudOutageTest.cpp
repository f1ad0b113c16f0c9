#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "CloudServer.h"
#include "Console.h"
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

} // namespace
