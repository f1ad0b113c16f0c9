#include <gtest/gtest.h>

#include "CloudServer.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudHandoff.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

namespace {

// Two computers of one user: a desk and a laptop, each with its own connection.
class CloudHandoffTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString uri = CloudServer::newUserUri(QStringLiteral("hand"));
        ASSERT_FALSE(uri.isEmpty());
        deskDatabase = std::make_unique<CloudDatabase>(uri);
        laptopDatabase = std::make_unique<CloudDatabase>(uri);
        desk = std::make_unique<CloudHandoff>(*deskDatabase, QStringLiteral("desk-id"),
                                              QStringLiteral("desk"));
        laptop = std::make_unique<CloudHandoff>(*laptopDatabase, QStringLiteral("laptop-id"),
                                                QStringLiteral("laptop"));
    }

    static QVariantMap countdown(int elapsed, bool paused)
    {
        return {{QStringLiteral("current_time"), elapsed},
                {QStringLiteral("task"), QStringLiteral("Write")},
                {QStringLiteral("current_session"), 2},
                {QStringLiteral("current_goal"), 5},
                {QStringLiteral("on_activity"), true},
                {QStringLiteral("is_paused"), paused}};
    }

    std::unique_ptr<CloudDatabase> deskDatabase;
    std::unique_ptr<CloudDatabase> laptopDatabase;
    std::unique_ptr<CloudHandoff> desk;
    std::unique_ptr<CloudHandoff> laptop;
};

TEST_F(CloudHandoffTest, TheOtherComputerIsOfferedTheRunningCountdownAsItStandsNow)
{
    const double now = 800000000;
    CloudFailure failure;
    ASSERT_TRUE(desk->publish(countdown(100, false), 1400, now, failure))
        << failure.message.toStdString();
    // Published again: the desk's one record is replaced, not added to.
    ASSERT_TRUE(desk->publish(countdown(300, false), 1200, now + 200, failure));

    const std::optional<CloudHandoff::Offer> offer = laptop->latestOffer(now + 260, failure);
    ASSERT_TRUE(offer) << failure.message.toStdString();
    EXPECT_EQ(offer->deviceName, QStringLiteral("desk"));
    EXPECT_EQ(offer->userInfo.value(QStringLiteral("current_time")), QVariant(360));
    EXPECT_EQ(offer->userInfo.value(QStringLiteral("current_goal")), QVariant(5));
    EXPECT_EQ(offer->userInfo.value(QStringLiteral("task")).toString(), QStringLiteral("Write"));
    EXPECT_EQ(offer->remaining, 1140);
    // A computer is never offered its own countdown.
    EXPECT_FALSE(desk->latestOffer(now + 260, failure));
    EXPECT_TRUE(failure.message.isEmpty());
}

TEST_F(CloudHandoffTest, ACountdownOlderThanItsTimeLeftIsNotOffered)
{
    const double now = 800000000;
    CloudFailure failure;
    ASSERT_TRUE(desk->publish(countdown(1400, true), 100, now, failure));
    const std::optional<CloudHandoff::Offer> paused = laptop->latestOffer(now + 99, failure);
    ASSERT_TRUE(paused);
    // Paused: the elapsed time stays as it was.
    EXPECT_EQ(paused->userInfo.value(QStringLiteral("current_time")).toInt(), 1400);
    EXPECT_FALSE(laptop->latestOffer(now + 100, failure));
    EXPECT_TRUE(failure.message.isEmpty());

    // The laptop's newer countdown is what the desk is offered.
    ASSERT_TRUE(laptop->publish(countdown(10, false), 1490, now + 50, failure));
    const std::optional<CloudHandoff::Offer> back = desk->latestOffer(now + 60, failure);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->deviceName, QStringLiteral("laptop"));
}

} // namespace
