#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <pthread.h>

#include "dispatch/SerialQueue.h"

namespace {

TEST(SerialQueueTest, KeepsEachProducersOrderAndRunsOneAtATime)
{
    constexpr int producers = 4;
    constexpr int perProducer = 500;
    std::vector<std::vector<int>> seen(producers);
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    {
        SerialQueue queue(QStringLiteral("org.zestra.Zestra.tests/Fifo"));
        std::vector<std::thread> threads;
        for (int p = 0; p < producers; ++p) {
            threads.emplace_back([&, p] {
                for (int i = 0; i < perProducer; ++i) {
                    queue.async([&, p, i] {
                        if (inside.fetch_add(1) != 0)
                            overlapped = true;
                        seen[p].push_back(i);
                        inside.fetch_sub(1);
                    });
                }
            });
        }
        for (auto& t : threads)
            t.join();
    }
    EXPECT_FALSE(overlapped);
    for (int p = 0; p < producers; ++p) {
        ASSERT_EQ(seen[p].size(), size_t(perProducer)) << "producer " << p;
        EXPECT_TRUE(std::is_sorted(seen[p].begin(), seen[p].end())) << "producer " << p;
    }
}

TEST(SerialQueueTest, SyncReturnsAfterItsWorkAndEverythingBeforeIt)
{
    SerialQueue queue(QStringLiteral("org.zestra.Zestra.tests/Sync"));
    int count = 0;
    for (int i = 0; i < 100; ++i)
        queue.async([&count] { ++count; });
    int seenBySync = -1;
    queue.sync([&] { seenBySync = count++; });
    EXPECT_EQ(seenBySync, 100);
    EXPECT_EQ(count, 101);
}

TEST(SerialQueueTest, WorkRunsOnTheNamedWorkerThread)
{
    SerialQueue queue(QStringLiteral("org.zestra.Zestra./Timer"));
    EXPECT_FALSE(queue.isCurrent());
    std::thread::id worker;
    bool current = false;
    char name[16] = {};
    queue.sync([&] {
        worker = std::this_thread::get_id();
        current = queue.isCurrent();
        pthread_getname_np(pthread_self(), name, sizeof name);
    });
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_TRUE(current);
    // The kernel keeps 15 bytes; the shared application prefix is what gets cut.
    EXPECT_STREQ(name, "a.Zestra./Timer");
    EXPECT_EQ(queue.label(), QStringLiteral("org.zestra.Zestra./Timer"));
}

TEST(SerialQueueTest, DestructionRunsEverythingQueuedFirst)
{
    auto ran = std::make_shared<std::atomic<int>>(0);
    {
        SerialQueue queue(QStringLiteral("org.zestra.Zestra.tests/Drain"));
        queue.async([] { std::this_thread::yield(); });
        for (int i = 0; i < 200; ++i)
            queue.async([ran] { ++*ran; });
        // Work queued by work while the queue drains runs as well.
        queue.async([ran, &queue] { queue.async([ran] { ++*ran; }); });
    }
    EXPECT_EQ(*ran, 201);
}

TEST(SerialQueueTest, SyncFromTheQueueItselfIsAProgrammingError)
{
    SerialQueue queue(QStringLiteral("org.zestra.Zestra.tests/Reentry"));
    bool ranInline = false;
    auto reenter = [&] { queue.sync([&] { queue.sync([&] { ranInline = true; }); }); };
#ifdef QT_NO_DEBUG
    // Release builds run it in place rather than wait for themselves forever.
    reenter();
    EXPECT_TRUE(ranInline);
#else
    EXPECT_DEATH(reenter(), "called from the queue itself");
#endif
}

} // namespace
