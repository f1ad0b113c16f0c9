#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "ContainerFixture.h"
#include "store/Localization.h"
#include "ui/BannerViewController.h"

namespace {

using containertest::ContainerFixture;

using D = TransitionDestination;

class ContainerTest : public ContainerFixture {};

TEST_F(ContainerTest, FirstStartShowsTheWelcomeOnceAndRemembersIt)
{
    ContainerViewController& shown = start(false);

    EXPECT_EQ(shown.actualView(), D::message);
    EXPECT_TRUE(message->isVisible());
    EXPECT_FALSE(activity->isVisible());
    EXPECT_EQ(message->labelTitle()->text(), Localization::text("MESSAGE_TITLE_WELCOME"));
    EXPECT_EQ(message->labelTitle()->text(), QStringLiteral("Welcome to Zestra"));
    EXPECT_TRUE(message->buttonCallToAction()->isVisible());
    EXPECT_TRUE(Settings::shared().boolValue(Settings::WelcomeOnboardingDone));

    // The next launch reads the flag the first one left behind.
    container.reset();
    container = std::make_unique<ContainerViewController>(services());
    auto* second = new MessageViewController;
    container->setScreens(new QWidget, new QWidget, new QWidget, second);
    EXPECT_EQ(container->actualView(), D::activity);
    EXPECT_TRUE(second->buttonCallToAction()->isHidden());
}

TEST_F(ContainerTest, SecondStartShowsTheActivityPanelDirectly)
{
    Settings::shared().setBool(Settings::WelcomeOnboardingDone, true);
    container = std::make_unique<ContainerViewController>(services());
    QSignalSpy appearing(container.get(), &ContainerViewController::screenWillAppear);
    container->setScreens(activity = new QWidget, new QWidget, new QWidget,
                          message = new MessageViewController);
    container->show();

    EXPECT_EQ(container->actualView(), D::activity);
    EXPECT_TRUE(activity->isVisible());
    EXPECT_FALSE(message->isVisible());
    ASSERT_EQ(appearing.count(), 1);
    EXPECT_EQ(appearing.at(0).at(0).value<D>(), D::activity);
}

TEST_F(ContainerTest, NothingMovesBeforeTheScreensAreGiven)
{
    container = std::make_unique<ContainerViewController>(services());
    QSignalSpy appearing(container.get(), &ContainerViewController::screenWillAppear);
    container->showTaskList();
    container->showTaskCreator();
    container->showTaskCreator(QStringLiteral("Write"));
    container->showActivity();
    EXPECT_EQ(container->actualView(), std::nullopt);
    EXPECT_EQ(appearing.count(), 0);
}

// Runs one request with real animations and checks which way the screens moved.
class ContainerSlideTest : public ContainerTest {
protected:
    void SetUp() override
    {
        ContainerTest::SetUp();
        SlideAnimator::setAnimationsEnabled(true);
    }

    // Only the first run is waited for; later ones are brought to their end at once.
    void expectSlide(const std::function<void()>& request, D destination, SlideDirection slide,
                     bool wait = false)
    {
        QWidget* from = container->screen(*container->actualView());
        QWidget* to = container->screen(destination);
        QSignalSpy finished(container->screenAnimator(), &SlideAnimator::finished);
        request();

        EXPECT_EQ(container->actualView(), destination);
        const int width = container->width();
        // The newcomer waits just outside the edge it slides in from.
        EXPECT_EQ(to->x(), slide == SlideDirection::left ? width : -width);
        EXPECT_TRUE(to->isVisible());
        EXPECT_TRUE(from->isVisible());

        if (wait)
            ASSERT_TRUE(finished.wait(2000));
        else
            container->screenAnimator()->finish();
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(to->geometry(), container->rect());
        EXPECT_TRUE(from->isHidden());
        EXPECT_EQ(from->geometry(), container->rect());
    }
};

TEST_F(ContainerSlideTest, FollowsTheDirectionsOfEachRequest)
{
    start(false);
    SCOPED_TRACE("message to activity");
    expectSlide([&] { container->showActivity(); }, D::activity, SlideDirection::left, true);
    SCOPED_TRACE("activity to list");
    expectSlide([&] { container->showTaskList(); }, D::taskList, SlideDirection::left);
    SCOPED_TRACE("list to creator");
    expectSlide([&] { container->showTaskCreator(); }, D::taskCreation, SlideDirection::left);
    SCOPED_TRACE("creator back to list");
    expectSlide([&] { container->showTaskList(); }, D::taskList, SlideDirection::right);
    SCOPED_TRACE("list to activity");
    expectSlide([&] { container->showActivity(); }, D::activity, SlideDirection::right);
    SCOPED_TRACE("activity to creator");
    expectSlide([&] { container->showTaskCreator(); }, D::taskCreation, SlideDirection::left);
    SCOPED_TRACE("creator to activity");
    expectSlide([&] { container->showActivity(); }, D::activity, SlideDirection::right);
}

TEST_F(ContainerSlideTest, ARequestForTheShownScreenDoesNothing)
{
    start();
    container->showTaskList();
    container->screenAnimator()->finish();
    QSignalSpy appearing(container.get(), &ContainerViewController::screenWillAppear);

    container->showTaskList();
    EXPECT_FALSE(container->screenAnimator()->isRunning());
    EXPECT_EQ(appearing.count(), 0);
    EXPECT_TRUE(taskList->isVisible());
    EXPECT_EQ(taskList->geometry(), container->rect());
}

TEST_F(ContainerSlideTest, ASecondRequestDuringASlideEndsTheFirstOne)
{
    start();
    container->showTaskList();
    ASSERT_TRUE(container->screenAnimator()->isRunning());
    container->showTaskCreator();

    QSignalSpy finished(container->screenAnimator(), &SlideAnimator::finished);
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_TRUE(activity->isHidden());
    EXPECT_TRUE(taskList->isHidden());
    EXPECT_EQ(taskCreation->geometry(), container->rect());
    EXPECT_TRUE(taskCreation->isVisible());
}

TEST_F(ContainerTest, EditingATaskBringsTheCreatorForwardThenFillsIt)
{
    start();
    QStringList events;
    QObject::connect(container.get(), &ContainerViewController::screenWillAppear, container.get(),
                     [&](D destination) {
                         events << QStringLiteral("appear %1").arg(static_cast<int>(destination));
                     });
    container->setEditTask([&](const QString& name) { events << QStringLiteral("edit ") + name; });

    container->showTaskList();
    container->showTaskCreator(QStringLiteral("Write the report"));

    EXPECT_EQ(container->actualView(), D::taskCreation);
    EXPECT_TRUE(taskCreation->isVisible());
    EXPECT_EQ(events, (QStringList{QStringLiteral("appear 1"), QStringLiteral("appear 2"),
                                   QStringLiteral("edit Write the report")}));
}

TEST_F(ContainerTest, WelcomeButtonsLeadToTheActivityPanel)
{
    struct Case {
        const char* name;
        QPushButton* (MessageViewController::*button)() const;
    };
    for (const Case& row : {Case{"call to action", &MessageViewController::buttonCallToAction},
                            Case{"close", &MessageViewController::buttonClose}}) {
        SCOPED_TRACE(row.name);
        start(false);
        QTest::mouseClick((message->*row.button)(), Qt::LeftButton);
        EXPECT_EQ(container->actualView(), D::activity);
        EXPECT_TRUE(activity->isVisible());
        EXPECT_TRUE(message->isHidden());
        // Gone with the screen: the next message decides whether it has one.
        EXPECT_TRUE(message->buttonCallToAction()->isHidden());
    }
}

// Renders the welcome and a banner over the panel for a look by eye:
// ZESTRA_SHOTS=/tmp/zestra-shots zestra_ui_tests --gtest_filter='*Screenshot*'
TEST_F(ContainerTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ZESTRA_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZESTRA_SHOTS to a folder to render the screens";
    QDir().mkpath(folder);

    start(false);
    EXPECT_TRUE(container->grab().save(folder + QStringLiteral("/container-welcome.png")));

    container->showActivity();
    container->showBanner("BANNER_INTERNET_CONNECTION");
    EXPECT_TRUE(container->grab().save(folder + QStringLiteral("/container-banner.png")));

    container->hideBanner();
    container->showBanner("BANNER_ICLOUD_QUOTA");
    EXPECT_TRUE(container->grab().save(folder + QStringLiteral("/container-banner-quota.png")));

    container->hideBanner();
    container->showBanner("BANNER_ICLOUD_ACCOUNT");
    EXPECT_TRUE(container->grab().save(folder + QStringLiteral("/container-banner-account.png")));
}

} // namespace
