#include <gtest/gtest.h>

#include <QCoreApplication>

#include "Console.h"
#include "dispatch/SerialQueue.h"
#include "services/Handoff.h"
#include "settings/Settings.h"
#include "shell/AppDelegate.h"
#include "shell/PopoverWindow.h"
#include "shell/TrayController.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "timer/ActivityManager.h"
#include "ui/ActivityViewController.h"
#include "ui/MessageBox.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItem.h"

namespace {

class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env = std::make_unique<TestEnvironment>("Europe/Madrid");
        env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
        Console::setSink([](const QString&) {});
        Settings::shared().registerApplicationDefaults();
        Settings::shared().setBool(QLatin1String(Settings::WelcomeOnboardingDone), true);
        store = std::make_unique<DataController>(env->dataDirectory());
        manager = std::make_unique<ActivityManager>(
            *store, [this](const QString& name) { sounds.append(name); });
        AppDelegate::Services services;
        services.store = store.get();
        services.manager = manager.get();
        MessageBox::setPresenter(
            [this](const MessageBox::Alert& alert) { alerts.append(alert.message); });
        services.exit = [this] { exited = true; };
        app = std::make_unique<AppDelegate>(services);
    }

    void TearDown() override
    {
        settle();
        app.reset();
        MessageBox::setPresenter(nullptr);
        manager.reset();
        store.reset();
        Console::setSink(nullptr);
        env.reset();
    }

    void settle()
    {
        manager->activityPomodoro().queue().sync([] {});
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void runSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            env->clock().advance(1.0);
            settle();
        }
    }

    Activity& activity() { return manager->activityPomodoro(); }

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<DataController> store;
    std::unique_ptr<ActivityManager> manager;
    std::unique_ptr<AppDelegate> app;
    QStringList sounds;
    QStringList alerts;
    bool exited = false;
};

TEST_F(AppDelegateTest, LaunchOpensThePopoverAndStartsTheCountdown)
{
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral("--:--"));
    app->applicationDidFinishLaunching();
    EXPECT_TRUE(app->isPopoverShown());
    settle();
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" 24:59"));
    EXPECT_TRUE(Settings::shared().boolValue(QLatin1String(Settings::MigratedToTaskInfo)));

    app->tooglePopover();
    EXPECT_FALSE(app->isPopoverShown());
    app->showPopover();
    EXPECT_TRUE(app->isPopoverShown());
}

TEST_F(AppDelegateTest, MenuActionsCarryTheirSoundsAndAlerts)
{
    app->applicationDidFinishLaunching();
    settle();
    app->doPauseResumeTimer();
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_EQ(StatusItem::shared().title(), QStringLiteral(" --:--"));
    app->doPauseResumeTimer();
    EXPECT_TRUE(activity().isRunning());

    app->doResetTimer();
    EXPECT_EQ(sounds, QStringList{QStringLiteral("Task-Sound")});
    app->doResetSession();
    app->doResetGoal();
    EXPECT_EQ(alerts.size(), 2);

    Settings::shared().setBool(QLatin1String(Settings::ShowResetAdviceWindow), false);
    app->doResetSession();
    EXPECT_EQ(alerts.size(), 2);

    // The same actions asked for over the bus never show an alert.
    app->resetSession();
    app->resetGoal();
    EXPECT_EQ(alerts.size(), 2);
}

TEST_F(AppDelegateTest, StateCarriesTheHandoffRecordTheTimeLeftAndTheTitle)
{
    app->applicationDidFinishLaunching();
    runSeconds(60);
    const QVariantMap state = app->state();
    EXPECT_EQ(state.value(QStringLiteral("remaining")).toInt(), 1500 - 61);
    EXPECT_EQ(state.value(QStringLiteral("current_time")).toInt(), 61);
    EXPECT_EQ(state.value(QStringLiteral("status_title")).toString(), QStringLiteral(" 23:59"));
    EXPECT_FALSE(state.value(QStringLiteral("is_paused")).toBool());
    EXPECT_TRUE(state.value(QStringLiteral("on_activity")).toBool());
    EXPECT_TRUE(state.value(QStringLiteral("task")).isNull());
}

TEST_F(AppDelegateTest, HandoffRestoresTheOtherComputersCountdown)
{
    app->applicationDidFinishLaunching();
    settle();
    const QString type = Handoff::activityType();
    EXPECT_EQ(type, QStringLiteral("org.zestra.Zestra./handoff_timer"));
    EXPECT_FALSE(AppDelegate::willContinueUserActivity(QStringLiteral("other.type")));

    // An incomplete record changes nothing.
    app->continueUserActivity(type, {{QStringLiteral("current_time"), 100}});
    EXPECT_EQ(activity().timelapse(), 1);

    const QVariantMap record = {
        {QStringLiteral("current_time"), 100},  {QStringLiteral("task"), QStringLiteral("Write")},
        {QStringLiteral("current_session"), 2}, {QStringLiteral("current_goal"), 3},
        {QStringLiteral("on_activity"), false}, {QStringLiteral("is_paused"), true}};
    EXPECT_TRUE(app->continueUserActivity(type, record));
    QCoreApplication::processEvents();
    EXPECT_EQ(activity().state(), Activity::State::stopped);
    EXPECT_FALSE(activity().onActivity());
    EXPECT_EQ(activity().timelapse(), 100);
    // The length of the phase stays until the next start.
    EXPECT_EQ(activity().totaltime(), 1500);
    EXPECT_EQ(manager->sessionPomodoro().currentTask(), 2);
    EXPECT_EQ(manager->goalPomodoro().currentTask(), 3);
    EXPECT_EQ(activity().taskName(), QStringLiteral("Write"));
    EXPECT_EQ(app->activityPanel()->taskName(), QStringLiteral("Write"));

    // A record that is not paused never starts a stopped timer.
    QVariantMap running = record;
    running[QStringLiteral("is_paused")] = false;
    app->continueUserActivity(type, running);
    EXPECT_EQ(activity().state(), Activity::State::stopped);
}

TEST_F(AppDelegateTest, TrayIconChangesOnlyWhenTheMinuteDoes)
{
    app->applicationDidFinishLaunching();
    settle();
    TrayController& tray = *app->tray();
    const int before = tray.iconUpdates();
    EXPECT_EQ(std::get<0>(tray.iconState()), 25);
    // 24:01 left still reads 25 minutes; 24:00 reads 24.
    runSeconds(58);
    EXPECT_EQ(tray.iconUpdates(), before);
    runSeconds(1);
    EXPECT_EQ(tray.iconUpdates(), before + 1);
    EXPECT_EQ(std::get<0>(tray.iconState()), 24);
    runSeconds(59);
    EXPECT_EQ(tray.iconUpdates(), before + 1);
    app->doPauseResumeTimer();
    EXPECT_EQ(tray.iconUpdates(), before + 2);
}

TEST_F(AppDelegateTest, TaskbarEntryKeepsThePopoverAnOrdinaryWindow)
{
    app->applicationDidFinishLaunching();
    // No tray on this platform: the popover is an ordinary window whatever the setting says.
    EXPECT_TRUE(app->popover()->isOrdinaryWindow());
    app->doPreferencesMenuAction();
    ASSERT_NE(app->settingsWindow(), nullptr);
    EXPECT_TRUE(app->settingsWindow()->isVisible());
}

TEST_F(AppDelegateTest, QuitSavesAndLeaves)
{
    app->applicationDidFinishLaunching();
    app->quit();
    EXPECT_TRUE(exited);
    EXPECT_FALSE(store->hasChanges());
}

TEST(PopoverPlacement, HangsBelowTheIconOrInTheTopRightCorner)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize size(320, 440);
    EXPECT_EQ(PopoverWindow::placement(size, QRect(1000, 0, 24, 24), screen), QPoint(852, 32));
    // A panel at the bottom: the popover opens upwards.
    EXPECT_EQ(PopoverWindow::placement(size, QRect(1000, 776, 24, 24), screen).y(), 776 - 8 - 440);
    // An icon at the right edge keeps the popover on screen.
    EXPECT_EQ(PopoverWindow::placement(size, QRect(1270, 0, 10, 24), screen).x(), 1280 - 320 - 8);
    EXPECT_EQ(PopoverWindow::placement(size, QRect(), screen), QPoint(1280 - 320 - 8, 8));
}

} // namespace
