#include <gtest/gtest.h>

#include <thread>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ContainerFixture.h"
#include "NotificationCenter.h"
#include "store/Localization.h"
#include "ui/BannerViewController.h"

namespace {

using containertest::ContainerFixture;

class ContainerBannerTest : public ContainerFixture {
protected:
    QString bannerText() const { return container->bannerView()->labelMessage()->text(); }
    QRect shownFrame() const { return QRect(0, 0, container->width(), 50); }
    QRect hiddenFrame() const { return QRect(0, -50, container->width(), 50); }
};

TEST_F(ContainerBannerTest, StartsHiddenAboveTheTopEdge)
{
    start();
    EXPECT_FALSE(container->isBannerShown());
    EXPECT_EQ(container->bannerView()->geometry(), hiddenFrame());
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->started);
    EXPECT_EQ(accountQuestions, 1);
}

TEST_F(ContainerBannerTest, LostConnectionKeepsTheQuotaTextAlreadyShown)
{
    start();
    NotificationCenter::defaultCenter().post(QStringLiteral("ZestraCloudQuotaExceeded"));
    ASSERT_TRUE(container->isBannerShown());
    EXPECT_EQ(bannerText(), Localization::text("BANNER_ICLOUD_QUOTA"));
    EXPECT_EQ(container->bannerView()->geometry(), shownFrame());

    monitor->whenUnreachable();
    settle();
    EXPECT_EQ(bannerText(), Localization::text("BANNER_ICLOUD_QUOTA"));
    EXPECT_TRUE(consoleLines().contains(QStringLiteral("Perdida la conexion")));
}

TEST_F(ContainerBannerTest, ShowAndHideAreIdempotentWhileMoving)
{
    start();
    SlideAnimator::setAnimationsEnabled(true);
    SlideAnimator* animator = container->bannerAnimator();
    QSignalSpy finished(animator, &SlideAnimator::finished);

    container->showBanner("BANNER_INTERNET_CONNECTION");
    ASSERT_TRUE(animator->isRunning());
    // Still sliding in, but already counts as shown: the second text is not taken.
    container->showBanner("BANNER_ICLOUD_QUOTA");
    EXPECT_EQ(bannerText(), Localization::text("BANNER_INTERNET_CONNECTION"));
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(container->bannerView()->geometry(), shownFrame());

    container->showBanner("BANNER_ICLOUD_QUOTA");
    EXPECT_FALSE(animator->isRunning());

    container->hideBanner();
    container->hideBanner();
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_EQ(container->bannerView()->geometry(), hiddenFrame());
    container->hideBanner();
    EXPECT_FALSE(animator->isRunning());
    EXPECT_EQ(finished.count(), 2);
}

TEST_F(ContainerBannerTest, CloseButtonHidesAndANewWarningBringsItsOwnText)
{
    start();
    container->showBanner("BANNER_ICLOUD_QUOTA");
    QTest::mouseClick(container->bannerView()->buttonClose(), Qt::LeftButton);
    EXPECT_FALSE(container->isBannerShown());
    EXPECT_EQ(container->bannerView()->geometry(), hiddenFrame());

    container->showBanner("BANNER_INTERNET_CONNECTION");
    EXPECT_EQ(bannerText(), Localization::text("BANNER_INTERNET_CONNECTION"));
}

TEST_F(ContainerBannerTest, MonitorCallsFromAnotherThreadLandOnTheMainThread)
{
    start();
    std::thread([this] { monitor->whenUnreachable(); }).join();
    // Nothing touched the banner from the monitor's thread: it waits for the main loop.
    EXPECT_FALSE(container->isBannerShown());
    ASSERT_TRUE(processEventsUntil([&] { return container->isBannerShown(); }));
    EXPECT_EQ(bannerText(), Localization::text("BANNER_INTERNET_CONNECTION"));
    EXPECT_EQ(consoleLines(), QStringList{QStringLiteral("Perdida la conexion")});

    std::thread([this] { monitor->whenReachable(); }).join();
    EXPECT_TRUE(container->isBannerShown());
    ASSERT_TRUE(processEventsUntil([&] { return !container->isBannerShown(); }));
}

TEST_F(ContainerBannerTest, MonitorThatCannotStartIsReported)
{
    monitorFailure = QStringLiteral("netlink socket refused");
    start();
    EXPECT_EQ(consoleLines(),
              QStringList{QStringLiteral("err @ checkInternetStatus() -> netlink socket refused")});
    EXPECT_FALSE(container->isBannerShown());
}

TEST_F(ContainerBannerTest, AccountBannerFollowsTheAnswerAndIsAskedAgainOnChange)
{
    accountAvailable = false;
    start();
    EXPECT_TRUE(container->isBannerShown());
    EXPECT_EQ(bannerText(), Localization::text("BANNER_ICLOUD_ACCOUNT"));

    accountAvailable = true;
    NotificationCenter::defaultCenter().post(QStringLiteral("ZestraCloudAccountChanged"));
    EXPECT_EQ(accountQuestions, 2);
    settle();
    EXPECT_FALSE(container->isBannerShown());
}

TEST_F(ContainerBannerTest, QuotaNotificationFromAnotherThreadIsHandledHere)
{
    start();
    std::thread([] {
        NotificationCenter::defaultCenter().post(QStringLiteral("ZestraCloudQuotaExceeded"));
    }).join();
    ASSERT_TRUE(processEventsUntil([&] { return container->isBannerShown(); }));
    EXPECT_EQ(bannerText(), Localization::text("BANNER_ICLOUD_QUOTA"));
}

TEST_F(ContainerBannerTest, BannerKeepsToTheTopStripWhenThePopoverResizes)
{
    start();
    container->showBanner("BANNER_ICLOUD_QUOTA");
    container->resize(360, 480);
    EXPECT_EQ(container->bannerView()->geometry(), QRect(0, 0, 360, 50));
    EXPECT_EQ(activity->geometry(), QRect(0, 0, 360, 480));
    container->hideBanner();
    container->resize(300, 420);
    EXPECT_EQ(container->bannerView()->geometry(), QRect(0, -50, 300, 50));
}

TEST_F(ContainerBannerTest, DefaultAccountCheckRaisesNoBanner)
{
    Settings::shared().setBool(Settings::WelcomeOnboardingDone, true);
    ContainerViewController::Services only;
    only.internetMonitor = services().internetMonitor;
    container = std::make_unique<ContainerViewController>(only);
    settle();
    EXPECT_FALSE(container->isBannerShown());
}

} // namespace
