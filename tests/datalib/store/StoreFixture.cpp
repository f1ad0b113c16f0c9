#include "datalib/store/StoreFixture.h"

#include <QCoreApplication>

#include "Console.h"
#include "support/ManualClock.h"

void StoreFixture::SetUp()
{
    env = std::make_unique<TestEnvironment>(timeZone());
    env->clock().setNow(at("2026-06-10T12:00:00"));
    cloud = std::make_shared<RecordingCloudSync>();
    store = std::make_unique<DataController>(env->dataDirectory(), cloud);
    Console::setSink([this](const QString& line) { consoleLines.append(line); });
}

void StoreFixture::TearDown()
{
    cloud->drain();
    store.reset();
    Console::setSink(nullptr);
    env.reset();
}

double StoreFixture::at(const char* isoLocal)
{
    return TestEnvironment::localTime(QString::fromLatin1(isoLocal));
}

TaskParameter StoreFixture::task(const char* startLocal, int duration, int freeTime,
                                 std::optional<QString> name) const
{
    TaskParameter p;
    p.startTime = at(startLocal);
    p.endTime = *p.startTime + duration;
    p.duration = duration;
    p.freeTimeDuration = freeTime;
    p.taskName = std::move(name);
    return p;
}

void StoreFixture::addTaskInfo(const QString& name, const QString& color)
{
    store->addTaskInfo(TaskInfoParameter(name, color));
}

void StoreFixture::settle()
{
    cloud->drain();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QString StoreFixture::storePath() const
{
    return store->storeFilePath();
}
