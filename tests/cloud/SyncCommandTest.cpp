#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include "CloudServer.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "cloud/SettingsCloudTokenStore.h"
#include "store/DataController.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"

namespace {

const QString hostileName = QStringLiteral("'); DROP TABLE records; --");

// zestra-cli with a cloud database connected: writes reach it or wait for `sync`, and
// another computer's `sync` brings them in.
class SyncCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        uri = CloudServer::newUserUri(QStringLiteral("sync"));
        ASSERT_FALSE(uri.isEmpty());
    }

    int cli(const QStringList& arguments, QString* out = nullptr)
    {
        QProcess process;
        start(process, arguments);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (out)
            *out = QString::fromUtf8(process.readAllStandardOutput());
        lastError = process.readAllStandardError().toStdString();
        return process.exitCode();
    }

    void start(QProcess& process, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZESTRA_CLI_PATH), arguments);
    }

    int recordsOnServer(CloudOperation::Record kind)
    {
        CloudDatabase database(uri);
        CloudFailure failure;
        const auto changes = database.zoneChanges(CloudRecordMapping::zoneName(kind), 0, failure);
        return changes ? int(changes->changed.size()) : -1;
    }

    PrivateBus bus;
    QString uri;
    std::string lastError;
};

TEST_F(SyncCommandTest, WritesWaitForTheCloudOrForSyncAndReachTheOtherComputer)
{
    {
        TestEnvironment desk;
        EXPECT_EQ(cli({QStringLiteral("sync")}), 1);
        ASSERT_EQ(cli({QStringLiteral("cloud"), QStringLiteral("connect"), uri}), 0) << lastError;
        ASSERT_EQ(cli({QStringLiteral("add-session"), QStringLiteral("--at"),
                       QStringLiteral("2026-06-10T10:00:00"), QStringLiteral("--tasks"),
                       QStringLiteral("4")}),
                  0)
            << lastError;
        // The command ended once its session was in the cloud.
        EXPECT_EQ(recordsOnServer(CloudOperation::Record::session), 1);
        ASSERT_EQ(cli({QStringLiteral("add-task-info"), hostileName, QStringLiteral("--color"),
                       QStringLiteral("#336699")}),
                  0)
            << lastError;

        ASSERT_TRUE(CloudServer::stop());
        const int offline = cli({QStringLiteral("add-goal"), QStringLiteral("--at"),
                                 QStringLiteral("2026-06-10T10:01:00"), QStringLiteral("--tasks"),
                                 QStringLiteral("4")});
        EXPECT_EQ(offline, 0) << lastError;
        EXPECT_EQ(cli({QStringLiteral("sync")}), 1);
        ASSERT_TRUE(CloudServer::start());

        QString out;
        ASSERT_EQ(cli({QStringLiteral("sync")}, &out), 0) << lastError;
        const QJsonObject result = QJsonDocument::fromJson(out.toUtf8()).object();
        EXPECT_EQ(result.value(QStringLiteral("pendingOperations")).toInt(-1), 0);
        EXPECT_EQ(recordsOnServer(CloudOperation::Record::goal), 1);
    }

    TestEnvironment laptop;
    ASSERT_EQ(cli({QStringLiteral("cloud"), QStringLiteral("connect"), uri}), 0) << lastError;
    ASSERT_EQ(cli({QStringLiteral("sync")}), 0) << lastError;
    DataController store(laptop.dataDirectory());
    EXPECT_EQ(store.sessions(Date(0), Date(1e10))->size(), 1);
    EXPECT_EQ(store.goals(Date(0), Date(1e10))->size(), 1);
    EXPECT_TRUE(store.existsTaskInfo(hostileName));
    EXPECT_EQ(recordsOnServer(CloudOperation::Record::taskInfo), 1);
}

TEST_F(SyncCommandTest, ASyncKilledMidwayLosesAndDoublesNothing)
{
    constexpr int writes = 1000;
    TestEnvironment desk;
    ASSERT_EQ(cli({QStringLiteral("cloud"), QStringLiteral("connect"), uri}), 0) << lastError;
    ASSERT_TRUE(CloudServer::stop());
    {
        DataController store(desk.dataDirectory());
        CloudOperationCache cache(CloudOperationCache::defaultFilePath());
        auto engine = std::make_shared<CloudDataController>(
            uri, std::nullopt, store, cache,
            std::make_shared<SettingsCloudTokenStore>(desk.root() + QStringLiteral("/t.ini")));
        store.setCloudSync(engine);
        for (int i = 0; i < writes; ++i)
            store.addSession(800000000.0 + i, 4);
        engine->waitForWork();
        cache.waitForWork();
        ASSERT_EQ(cache.operations().size(), writes);
        store.setCloudSync(nullptr);
    }
    ASSERT_TRUE(CloudServer::start());

    // Killed as soon as some of the writes are on the server, before it could note them.
    const std::unique_ptr<PgConnection> server = CloudServer::connect(uri);
    ASSERT_TRUE(server);
    QProcess sync;
    start(sync, {QStringLiteral("sync")});
    ASSERT_TRUE(sync.waitForStarted());
    int arrived = 0;
    while (arrived == 0 && sync.state() == QProcess::Running) {
        arrived =
            sql(*server, QStringLiteral("SELECT count(*) FROM zestra.records")).value().toInt();
        QThread::msleep(2);
    }
    sync.kill();
    sync.waitForFinished();

    EXPECT_EQ(cli({QStringLiteral("sync")}), 0) << lastError;
    EXPECT_EQ(recordsOnServer(CloudOperation::Record::session), writes);
    DataController store(desk.dataDirectory());
    EXPECT_TRUE(store.unsyncedSessions()->isEmpty());
}

} // namespace
