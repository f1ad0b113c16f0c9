#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QSignalSpy>

#include "Console.h"
#include "dispatch/SerialQueue.h"
#include "services/TimerControlInterface.h"
#include "services/TimerControlService.h"
#include "settings/Settings.h"
#include "shell/AppDelegate.h"
#include "store/DataController.h"
#include "support/ManualClock.h"
#include "support/PrivateBus.h"
#include "support/TestEnvironment.h"
#include "thieves/ThiefManager.h"
#include "timer/ActivityManager.h"

namespace {

// The running application on a bus of the test's own, watched as a status bar would.
class TimerStateSignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning());
        env = std::make_unique<TestEnvironment>("Europe/Madrid");
        env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
        Console::setSink([](const QString&) {});
        Settings::shared().registerApplicationDefaults();
        Settings::shared().setBool(QLatin1String(Settings::WelcomeOnboardingDone), true);
        store = std::make_unique<DataController>(env->dataDirectory());
        manager = std::make_unique<ActivityManager>(*store, [](const QString&) {});
        thieves = std::make_unique<ThiefManager>(*store);
        AppDelegate::Services services;
        services.store = store.get();
        services.manager = manager.get();
        services.thieves = thieves.get();
        app = std::make_unique<AppDelegate>(services);
        service = std::make_unique<TimerControlService>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("state-app")));
        watcher = std::make_unique<TimerControlInterface>(
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("state-watcher")));
    }

    void TearDown() override
    {
        watcher.reset();
        service.reset();
        app.reset();
        manager.reset();
        thieves.reset();
        store.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("state-app"));
        QDBusConnection::disconnectFromBus(QStringLiteral("state-watcher"));
        Console::setSink(nullptr);
        env.reset();
    }

    void runSeconds(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            env->clock().advance(1.0);
            manager->activityPomodoro().queue().sync([] {});
            QCoreApplication::sendPostedEvents();
        }
    }

    // A call answered by the application arrives after every signal it sent before.
    // Asynchronous: the application answers on this very thread.
    void roundTrip()
    {
        QDBusPendingCallWatcher call(watcher->asyncCall(QStringLiteral("State")));
        QSignalSpy answered(&call, &QDBusPendingCallWatcher::finished);
        ASSERT_TRUE(answered.wait(5000));
        QCoreApplication::processEvents();
    }

    PrivateBus bus;
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<DataController> store;
    std::unique_ptr<ActivityManager> manager;
    std::unique_ptr<ThiefManager> thieves;
    std::unique_ptr<AppDelegate> app;
    std::unique_ptr<TimerControlService> service;
    std::unique_ptr<TimerControlInterface> watcher;
};

TEST_F(TimerStateSignalTest, ChangesAreSignalledAndTicksAreNot)
{
    app->applicationDidFinishLaunching();
    ASSERT_TRUE(service->start(*app));
    QSignalSpy changes(watcher.get(), &TimerControlInterface::StateChanged);
    manager->goalPomodoro().setCurrentTask(3);
    runSeconds(2);
    roundTrip();
    changes.clear();

    runSeconds(30);
    roundTrip();
    EXPECT_EQ(changes.count(), 0) << "a tick alone is no news";

    app->toggle();
    ASSERT_TRUE(changes.wait(5000));
    QVariantMap state = changes.takeFirst().at(0).toMap();
    EXPECT_TRUE(state.value(QStringLiteral("is_paused")).toBool());
    EXPECT_EQ(state.value(QStringLiteral("remaining")).toInt(),
              manager->activityPomodoro().remaining());
    EXPECT_EQ(state.value(QStringLiteral("current_goal")).toInt(), 3);

    // Counters reset while paused: no tick follows, the signal still does.
    app->resetGoal();
    ASSERT_TRUE(changes.wait(5000));
    state = changes.takeLast().at(0).toMap();
    EXPECT_EQ(state.value(QStringLiteral("current_goal")).toInt(), 0);
}

} // namespace
