#include "timer/TimerFixture.h"

#include <QCoreApplication>

#include "Console.h"
#include "support/ManualClock.h"
#include "dispatch/SerialQueue.h"
#include "settings/Settings.h"

void TimerFixture::SetUp()
{
    env = std::make_unique<TestEnvironment>("Europe/Madrid");
    env->clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-10T09:00:00")));
    Console::setSink([](const QString&) {});
    Settings::shared().registerApplicationDefaults();
    store = std::make_unique<DataController>(env->dataDirectory());
    notifications = std::make_unique<RecordingNotificationCenter>(log);
    UserNotificationCenter::setShared(notifications.get());
    createManager();
}

void TimerFixture::TearDown()
{
    destroyManager();
    UserNotificationCenter::setShared(nullptr);
    notifications.reset();
    store.reset();
    Console::setSink(nullptr);
    env.reset();
}

void TimerFixture::createManager()
{
    manager = std::make_unique<ActivityManager>(
        *store, [this](const QString& name) { sounds.append(name); });
    reactions = std::make_unique<PhaseReactions>(*manager);
    delegate = std::make_unique<RecordingDelegate>(log, *reactions);
    manager->activityPomodoro().setDelegate(delegate.get());
}

void TimerFixture::destroyManager()
{
    if (!manager)
        return;
    settle();
    manager.reset();
    delegate.reset();
    reactions.reset();
    QCoreApplication::processEvents();
}

void TimerFixture::settle()
{
    activity().queue().sync([] {});
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void TimerFixture::runSeconds(int seconds)
{
    for (int i = 0; i < seconds; ++i) {
        env->clock().advance(1.0);
        settle();
    }
}

int TimerFixture::storedPomodoros()
{
    return store->stats().tasks;
}

void TimerFixture::setMinutes(const char* key, int minutes)
{
    Settings::shared().setInt(QLatin1String(key), minutes);
}

void TimerFixture::setFlag(const char* key, bool value)
{
    Settings::shared().setBool(QLatin1String(key), value);
}
