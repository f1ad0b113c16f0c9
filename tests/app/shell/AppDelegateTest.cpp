#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "Console.h"
#include "dispatch/SerialQueue.h"
#include "services/Handoff.h"
#include "services/TimerControlService.h"
#include "settings/Settings.h"
#include "shell/AppDelegate.h"
#include "shell/FakeStatusNotifierHost.h"
#include "shell/PopoverWindow.h"
#include "shell/StatusNotifierItem.h"
#include "shell/TrayController.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"
#include "thieves/ThiefManager.h"
#include "timer/ActivityManager.h"
#include "ui/ActivityViewController.h"
#include "ui/BitacoraWindowController.h"
#include "ui/MessageBox.h"
#include "ui/ReportWindowController.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItem.h"
#include "ui/ThiefOnboardingWindowController.h"
#include "ui/ThiefPreferencesViewController.h"
#include "ui/ThiefWindowController.h"

namespace {

// A desktop that can be seen but never has a window in front: the scan runs, records nothing.
class EmptyDesktop final : public FrontmostSource {
public:
    bool canSee() const override { return true; }
    std::optional<FrontmostApplication> frontmost() override { return std::nullopt; }
};

class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env = std::make_unique<TestEnvironment>("Europe/Madrid");
        env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
        Console::setSink([](const QString&) {});
        Settings::shared().registerApplicationDefaults();
        Settings::shared().setBool(QLatin1String(Settings::WelcomeOnboardingDone), true);
        // The thief question is asked only where a test says so.
        Settings::shared().setBool(QLatin1String(Settings::ThievesOnboardingNotDone), false);
        store = std::make_unique<DataController>(env->dataDirectory());
        thieves =
            std::make_unique<ThiefManager>(*store, [] { return std::make_unique<EmptyDesktop>(); });
        manager = std::make_unique<ActivityManager>(
            *store, [this](const QString& name) { sounds.append(name); });
        MessageBox::setPresenter(
            [this](const MessageBox::Alert& alert) { alerts.append(alert.message); });
        app = std::make_unique<AppDelegate>(
            AppDelegate::Services{store.get(), manager.get(), thieves.get()});
    }

    void TearDown() override
    {
        settle();
        app.reset();
        MessageBox::setPresenter(nullptr);
        manager.reset();
        thieves.reset();
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
    std::unique_ptr<ThiefManager> thieves;
    std::unique_ptr<AppDelegate> app;
    QStringList sounds;
    QStringList alerts;
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

TEST_F(AppDelegateTest, PanelButtonsOpenTheLogbookAndTheReportOfItsDay)
{
    // The window says the viewer is missing instead of starting a web engine in this process.
    qputenv("ZESTRA_REPORT_PLUGIN", "/nonexistent/zestra-report-view.so");
    app->applicationDidFinishLaunching();
    ActivityViewController& panel = *app->activityPanel();
    ASSERT_TRUE(panel.buttonThief->isVisibleTo(&panel));
    ASSERT_TRUE(panel.buttonBitacora->isVisibleTo(&panel));
    ASSERT_TRUE(panel.buttonReport->isVisibleTo(&panel));

    panel.buttonBitacora->click();
    ASSERT_NE(app->logbookWindow(), nullptr);
    EXPECT_TRUE(app->logbookWindow()->isVisible());
    EXPECT_EQ(app->reportWindow(), nullptr);

    // The logbook hands its day to the report window.
    const Date yesterday = Date::now().previous();
    app->logbookWindow()->showDay(yesterday);
    emit app->logbookWindow()->reportRequested(app->logbookWindow()->fecha());
    ASSERT_NE(app->reportWindow(), nullptr);
    EXPECT_TRUE(app->reportWindow()->isVisible());
    ASSERT_TRUE(app->reportWindow()->date.has_value());
    EXPECT_EQ(app->reportWindow()->date->beginningOfDay(), yesterday.beginningOfDay());

    app->reportWindow()->close();
    panel.buttonReport->click();
    EXPECT_TRUE(app->reportWindow()->isVisible());

    // The thief window's own buttons reach the report of its day and the settings.
    app->reportWindow()->close();
    panel.buttonThief->click();
    ASSERT_NE(app->thiefWindow(), nullptr);
    EXPECT_TRUE(app->thiefWindow()->isVisible());
    app->thiefWindow()->doPreviusDateButtonTap();
    app->thiefWindow()->buttonReport()->click();
    EXPECT_TRUE(app->reportWindow()->isVisible());
    EXPECT_EQ(app->reportWindow()->date->beginningOfDay(), yesterday.beginningOfDay());
    app->thiefWindow()->buttonSettings()->click();
    EXPECT_TRUE(app->settingsWindow()->isVisible());
}

TEST_F(AppDelegateTest, TheScanStartsAtLaunchOnlyOnceTheUserHasAnswered)
{
    Settings& settings = Settings::shared();
    settings.setBool(QLatin1String(Settings::ThievesOnboardingNotDone), true);
    settings.setBool(QLatin1String(Settings::ThievesScanAllowByUser), true);
    app->applicationDidFinishLaunching();
    // First launch: the preloaded list is in, the question is asked, nothing is scanned.
    EXPECT_TRUE(settings.boolValue(QLatin1String(Settings::ThievesImported)));
    EXPECT_TRUE(store->thief(QStringLiteral("youtube.com")));
    ASSERT_NE(app->thiefOnboarding(), nullptr);
    EXPECT_TRUE(app->thiefOnboarding()->isVisible());
    EXPECT_FALSE(settings.boolValue(QLatin1String(Settings::ThievesOnboardingNotDone)));
    EXPECT_FALSE(thieves->isScanning());

    app->thiefOnboarding()->doCancelButtonTap();
    app.reset();
    app = std::make_unique<AppDelegate>(
        AppDelegate::Services{store.get(), manager.get(), thieves.get()});
    app->applicationDidFinishLaunching();
    EXPECT_EQ(app->thiefOnboarding(), nullptr);
    EXPECT_FALSE(thieves->isScanning());

    // The settings' check box starts and stops it.
    app->doPreferencesMenuAction();
    app->settingsWindow()->viewcontrollerThief->checkAllowScan->click();
    EXPECT_TRUE(thieves->isScanning());
    app->settingsWindow()->viewcontrollerThief->checkAllowScan->click();
    EXPECT_FALSE(thieves->isScanning());

    settings.setBool(QLatin1String(Settings::ThievesScanAllowByUser), true);
    app.reset();
    app = std::make_unique<AppDelegate>(
        AppDelegate::Services{store.get(), manager.get(), thieves.get()});
    app->applicationDidFinishLaunching();
    EXPECT_TRUE(thieves->isScanning());
}

TEST_F(AppDelegateTest, EscapeClosesThePopover)
{
    app->applicationDidFinishLaunching();
    ASSERT_TRUE(app->isPopoverShown());
    QTest::keyClick(app->popover(), Qt::Key_Escape);
    EXPECT_FALSE(app->isPopoverShown());

    app->tooglePopover();
    ASSERT_TRUE(app->isPopoverShown());
    QTest::keyClick(app->activityPanel(), Qt::Key_Escape);
    EXPECT_FALSE(app->isPopoverShown());
}

// The tray as panels have it at login: the watcher comes after Zestra, and may go and return.
class TrayHostTest : public AppDelegateTest {
protected:
    static QString busAddress() { return qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"); }

    static bool trayIs(AppDelegate& app, TrayController::Host host)
    {
        return processEventsUntil([&app, host] { return app.tray()->host() == host; });
    }
};

TEST_F(TrayHostTest, LaunchShowsThePopoverWithoutTakingTheKeyboard)
{
    FakeStatusNotifierHost host(busAddress());
    ASSERT_TRUE(host.isReady());
    // The user is typing in another application's window when Zestra starts.
    QLineEdit editor;
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));

    app->applicationDidFinishLaunching();
    settle();
    ASSERT_EQ(app->tray()->host(), TrayController::Host::statusNotifier);
    ASSERT_TRUE(app->isPopoverShown());
    EXPECT_FALSE(app->popover()->isOrdinaryWindow());
    // A popup would take every key press of the application.
    EXPECT_FALSE(app->popover()->isPopup());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QTest::keyClick(editor.windowHandle(), Qt::Key_Space);
    EXPECT_EQ(editor.text(), QStringLiteral(" "));
    EXPECT_TRUE(activity().isRunning());

    // A click on the tray icon is the user asking: then it drops down as a popup.
    app->tooglePopover();
    app->tooglePopover();
    EXPECT_TRUE(app->isPopoverShown());
    EXPECT_TRUE(app->popover()->isPopup());
}

TEST_F(TrayHostTest, TheItemFollowsTheWatcherAsItComesAndGoes)
{
    app->applicationDidFinishLaunching();
    // No tray of any kind yet: the popover is an ordinary window, shown.
    ASSERT_EQ(app->tray()->host(), TrayController::Host::none);
    EXPECT_TRUE(app->popover()->isOrdinaryWindow());

    auto host = std::make_unique<FakeStatusNotifierHost>(busAddress());
    ASSERT_TRUE(host->isReady());
    ASSERT_TRUE(trayIs(*app, TrayController::Host::statusNotifier));
    ASSERT_TRUE(processEventsUntil([&host] { return host->registered().size() == 1; }));
    EXPECT_EQ(host->registered().constFirst(), app->tray()->statusNotifierItem()->serviceName());
    EXPECT_FALSE(app->popover()->isOrdinaryWindow());

    // The panel goes away: no XEmbed tray on this platform either, so back to the window.
    app->popover()->hide();
    host.reset();
    ASSERT_TRUE(trayIs(*app, TrayController::Host::none));
    EXPECT_TRUE(app->popover()->isOrdinaryWindow());
    EXPECT_TRUE(app->isPopoverShown());
    EXPECT_FALSE(app->popover()->isPopup());

    // And it comes back: the new watcher gets the item too.
    host = std::make_unique<FakeStatusNotifierHost>(busAddress());
    ASSERT_TRUE(host->isReady());
    ASSERT_TRUE(processEventsUntil([&host] { return host->registered().size() == 1; }));
    EXPECT_EQ(app->tray()->host(), TrayController::Host::statusNotifier);
    EXPECT_FALSE(app->popover()->isOrdinaryWindow());
}

TEST_F(TrayHostTest, AClickOnTheItemOpensThePopoverBesideIt)
{
    auto host = std::make_unique<FakeStatusNotifierHost>(busAddress());
    ASSERT_TRUE(host->isReady());
    app->applicationDidFinishLaunching();
    ASSERT_EQ(app->tray()->host(), TrayController::Host::statusNotifier);
    app->popover()->hide();

    // A click near the bottom-left corner, as on a panel at the bottom of the screen.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint click(area.left() + 20, area.bottom() - 4);
    QDBusMessage activate = QDBusMessage::createMethodCall(
        app->tray()->statusNotifierItem()->serviceName(), StatusNotifierItem::kItemPath,
        QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
    activate << click.x() << click.y();
    ASSERT_EQ(host->call(activate).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(processEventsUntil([this] { return app->isPopoverShown(); }));

    const QRect popover = app->popover()->geometry();
    EXPECT_TRUE(area.contains(popover)) << popover.x() << "," << popover.y();
    EXPECT_LT(popover.bottom(), click.y());
    EXPECT_TRUE(popover.left() <= click.x() && click.x() <= popover.right()) << popover.x();
}

// Quitting for real: the application's event loop runs and must return, whatever windows
// are open. A loop that does not return within the guard's time fails the test.
class QuitTest : public AppDelegateTest {
protected:
    // Opens the settings and About windows, runs `ask` inside the event loop, and tells
    // whether the loop returned by itself.
    bool quitsWithWindowsOpen(const std::function<void()>& ask)
    {
        app->applicationDidFinishLaunching();
        settle();
        app->doPreferencesMenuAction();
        app->doAboutMenuAction();
        bool guardFired = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&guardFired] {
            guardFired = true;
            QCoreApplication::exit(1);
        });
        guard.start(10000);
        QTimer::singleShot(0, ask);
        const int code = QApplication::exec();
        return code == 0 && !guardFired;
    }

    void relaunch()
    {
        app.reset();
        app = std::make_unique<AppDelegate>(
            AppDelegate::Services{store.get(), manager.get(), thieves.get()});
    }
};

TEST_F(QuitTest, EveryWayOfQuittingEndsTheEventLoop)
{
    const struct {
        const char* name;
        std::function<void(AppDelegate&)> ask;
    } ways[] = {
        {"Ctrl+Q in the panel",
         [](AppDelegate& app) {
             // What the shortcut triggers.
             for (QAction* action : app.activityPanel()->actions())
                 if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q))
                     action->trigger();
         }},
        {"Quit in the tray menu",
         [](AppDelegate& app) { app.tray()->menu()->actions().constLast()->trigger(); }},
        {"Quit over the bus",
         [](AppDelegate&) {
             QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
                 QLatin1String(TimerControlService::serviceName),
                 QLatin1String(TimerControlService::objectPath),
                 QLatin1String(TimerControlService::interfaceName), QStringLiteral("Quit")));
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        relaunch();
        TimerControlService control;
        ASSERT_TRUE(control.start(*app));
        AppDelegate& delegate = *app;
        EXPECT_TRUE(quitsWithWindowsOpen([&way, &delegate] { way.ask(delegate); }));
        // The shutdown ran before the loop ended.
        EXPECT_FALSE(store->hasChanges());
    }
}

} // namespace
