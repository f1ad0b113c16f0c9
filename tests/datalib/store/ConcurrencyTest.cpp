#include <thread>
#include <vector>

#include "datalib/store/StoreFixture.h"

namespace {

class ConcurrencyTest : public StoreFixture {};

TEST_F(ConcurrencyTest, WritesFromSeveralThreadsAreAllKept)
{
    cloud->answer = RecordingCloudSync::Answer::otherFailure;
    addTaskInfo(QStringLiteral("Write"));
    constexpr int perThread = 150;
    const double base = at("2026-06-10T08:00:00");
    std::vector<std::thread> writers;
    for (int t = 0; t < 2; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                TaskParameter p;
                p.startTime = base + t * 10000 + i * 30;
                p.endTime = *p.startTime + 25;
                p.duration = 25;
                p.freeTimeDuration = 5;
                p.taskName = QStringLiteral("Write");
                store->addTask(p);
                store->addSession(*p.startTime, 1);
                store->tasksFinished(Date(*p.startTime));
            }
        });
    }
    // The main thread reads meanwhile, as the logbook would.
    for (int i = 0; i < 50; ++i)
        store->pomodorosForDate(day("2026-06-10T12:00:00"));
    for (auto& w : writers)
        w.join();

    EXPECT_EQ(store->tasksFinished(day("2026-06-10T12:00:00")), 2 * perThread);
    EXPECT_EQ(store->executions(QStringLiteral("Write")), 2 * perThread);
    EXPECT_EQ(store->sessionsFinished(day("2026-06-10T12:00:00")), 2 * perThread);
    EXPECT_FALSE(store->hasChanges());
}

TEST_F(ConcurrencyTest, TwoStoresOnOneFileShareTheirWrites)
{
    // The command-line tool and the application use the same file at the same time.
    DataController other(env->dataDirectory());
    std::thread writer([&] {
        for (int i = 0; i < 100; ++i)
            other.addSession(at("2026-06-10T08:00:00") + i, 1);
    });
    for (int i = 0; i < 100; ++i)
        store->addGoal(at("2026-06-10T09:00:00") + i, 1);
    writer.join();
    EXPECT_EQ(store->sessionsFinished(day("2026-06-10T12:00:00")), 100);
    EXPECT_EQ(other.goals(day("2026-06-10T12:00:00"), day("2026-06-10T12:00:00"))->size(), 100);
}

} // namespace
