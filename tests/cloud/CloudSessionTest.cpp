#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QUrl>

#include "CloudServer.h"
#include "Console.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "services/CloudSession.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"

namespace {

// The application's start-up against the user's cloud: two computers, each with its own
// store and settings, one user.
class CloudSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Console::setSink([](const QString&) {});
        uri = CloudServer::newUserUri(QStringLiteral("ses"));
        ASSERT_FALSE(uri.isEmpty());
    }
    void TearDown() override { Console::setSink(nullptr); }

    QString uri;
};

TEST_F(CloudSessionTest, TheFirstStartUploadsTheHistoryAndAnotherComputerReceivesIt)
{
    TestEnvironment desk;
    Settings deskSettings;
    deskSettings.registerApplicationDefaults();
    // The password rides in the URI here; the application keeps it in the keyring.
    deskSettings.setString(QLatin1String(Settings::CloudDatabaseURI), uri);
    DataController deskStore(desk.dataDirectory());
    deskStore.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#59b6e8")));
    TaskParameter task;
    task.startTime = 800000000;
    task.endTime = 800001500;
    task.duration = 1500;
    task.freeTimeDuration = 300;
    task.taskName = QStringLiteral("Write");
    deskStore.addTask(task);
    deskStore.addSession(800001600, 1);
    {
        CloudSession session(deskStore, deskSettings);
        QSignalSpy checked(&session, &CloudSession::accountChecked);
        session.start();
        session.waitForWork();
        ASSERT_TRUE(checked.wait(30000) || !checked.isEmpty());
        EXPECT_TRUE(checked.first().first().toBool());
        EXPECT_TRUE(deskSettings.boolValue(QLatin1String(Settings::MigratedToCloud)));
        EXPECT_TRUE(deskStore.unsyncedPomodoros()->isEmpty());
        // A write after the start goes straight up through the engine.
        deskStore.addGoal(800001700, 1);
        session.waitForWork();
    }

    TestEnvironment laptop;
    Settings laptopSettings;
    laptopSettings.registerApplicationDefaults();
    laptopSettings.setString(QLatin1String(Settings::CloudDatabaseURI), uri);
    DataController laptopStore(laptop.dataDirectory());
    CloudSession session(laptopStore, laptopSettings);
    session.start();
    session.waitForWork();
    session.waitForWork();
    EXPECT_TRUE(laptopStore.existsTaskInfo(QStringLiteral("Write")));
    EXPECT_EQ(laptopStore.pomodoros(QStringLiteral("Write"))->size(), 1);
    EXPECT_EQ(laptopStore.sessions(Date(0), Date(900000000))->size(), 1);
    EXPECT_EQ(laptopStore.goals(Date(0), Date(900000000))->size(), 1);
}

TEST_F(CloudSessionTest, AnAccountThatIsNotThereIsSaidAndNothingIsUploaded)
{
    TestEnvironment env;
    Settings settings;
    settings.registerApplicationDefaults();
    QUrl wrong(uri);
    wrong.setPassword(QStringLiteral("not-the-password"));
    settings.setString(QLatin1String(Settings::CloudDatabaseURI), wrong.toString());
    DataController store(env.dataDirectory());
    store.addSession(800001600, 1);
    CloudSession session(store, settings);
    QSignalSpy checked(&session, &CloudSession::accountChecked);
    session.start();
    session.waitForWork();
    ASSERT_TRUE(checked.wait(30000) || !checked.isEmpty());
    EXPECT_FALSE(checked.first().first().toBool());
    EXPECT_FALSE(settings.boolValue(QLatin1String(Settings::MigratedToCloud)));
    EXPECT_FALSE(store.unsyncedSessions()->isEmpty());
}

} // namespace
