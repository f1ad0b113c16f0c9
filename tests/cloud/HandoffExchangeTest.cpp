#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QSignalSpy>

#include "CloudServer.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudHandoff.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "services/HandoffExchange.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "support/TestEnvironment.h"
#include "timer/ActivityManager.h"

namespace {

double wallClock()
{
    return Date::fromSecsSince1970(QDateTime::currentMSecsSinceEpoch() / 1000.0)
        .timeIntervalSinceReferenceDate();
}

// This computer's application and another one of the same user, the desk, which only the
// cloud connects.
class HandoffExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString uri = CloudServer::newUserUri(QStringLiteral("xch"));
        ASSERT_FALSE(uri.isEmpty());
        // The password rides in the URI here; the application keeps it in the keyring.
        settings.setString(QLatin1String(Settings::CloudDatabaseURI), uri);
        deskDatabase = std::make_unique<CloudDatabase>(uri);
        desk = std::make_unique<CloudHandoff>(*deskDatabase, QStringLiteral("desk-id"),
                                              QStringLiteral("desk"));
        store = std::make_unique<DataController>(env.dataDirectory());
        manager = std::make_unique<ActivityManager>(*store);
    }

    TestEnvironment env;
    Settings settings;
    std::unique_ptr<CloudDatabase> deskDatabase;
    std::unique_ptr<CloudHandoff> desk;
    std::unique_ptr<DataController> store;
    std::unique_ptr<ActivityManager> manager;
};

TEST_F(HandoffExchangeTest, TheDesksCountdownIsOfferedAndContinuedAndThisOneIsPublished)
{
    // Started before a database was connected: nothing is asked until one is.
    const QString uri = *settings.stringValue(QLatin1String(Settings::CloudDatabaseURI));
    settings.setString(QLatin1String(Settings::CloudDatabaseURI), QString());
    HandoffExchange exchange(*manager, settings);
    QSignalSpy found(&exchange, &HandoffExchange::offerFound);
    QSignalSpy none(&exchange, &HandoffExchange::noOffer);
    exchange.lookForOffer();
    exchange.waitForWork();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(none.isEmpty());
    settings.setString(QLatin1String(Settings::CloudDatabaseURI), uri);
    exchange.reconnect();
    exchange.lookForOffer();
    ASSERT_TRUE(none.wait(30000));

    CloudFailure failure;
    ASSERT_TRUE(desk->publish({{QStringLiteral("current_time"), 420},
                               {QStringLiteral("task"), QStringLiteral("Write")},
                               {QStringLiteral("current_session"), 2},
                               {QStringLiteral("current_goal"), 6},
                               {QStringLiteral("on_activity"), true},
                               {QStringLiteral("is_paused"), true}},
                              1080, wallClock(), failure))
        << failure.message.toStdString();
    exchange.lookForOffer();
    ASSERT_TRUE(found.wait(30000));
    EXPECT_EQ(found.first().at(0).toString(), QStringLiteral("desk"));
    EXPECT_EQ(found.first().at(1).toString(), QStringLiteral("Write"));

    ASSERT_TRUE(exchange.continueOffer());
    EXPECT_EQ(manager->activityPomodoro().timelapse(), 420);
    EXPECT_EQ(manager->activityPomodoro().taskName(), QStringLiteral("Write"));
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 6);

    // What this computer publishes is what the desk is offered back.
    exchange.publish();
    exchange.waitForWork();
    const std::optional<CloudHandoff::Offer> back = desk->latestOffer(wallClock(), failure);
    ASSERT_TRUE(back) << failure.message.toStdString();
    EXPECT_EQ(back->userInfo.value(QStringLiteral("task")).toString(), QStringLiteral("Write"));
    EXPECT_EQ(back->deviceName, CloudHandoff::thisDeviceName());
}

} // namespace
