#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QThread>

#include "dispatch/Clock.h"
#include "dispatch/MainQueue.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"

namespace {

// The queue is first in, first out: once a marker posted now has run, so has all earlier work.
void drainMainQueue()
{
    auto marker = std::make_shared<bool>(false);
    MainQueue::post([marker] { *marker = true; });
    ASSERT_TRUE(processEventsUntil([marker] { return *marker; }));
}

class MainQueueTest : public ::testing::Test {
protected:
    TestEnvironment env;
};

TEST_F(MainQueueTest, PostFromAWorkerThreadRunsOnTheMainThread)
{
    auto runs = std::make_shared<int>(0);
    auto onMain = std::make_shared<bool>(false);
    bool workerSawMainThread = true;
    std::thread worker([&workerSawMainThread, runs, onMain] {
        workerSawMainThread = MainQueue::isMainThread();
        MainQueue::post([runs, onMain] {
            ++*runs;
            *onMain = MainQueue::isMainThread() &&
                      QThread::currentThread() == QCoreApplication::instance()->thread();
        });
    });
    worker.join();
    EXPECT_FALSE(workerSawMainThread);
    EXPECT_EQ(*runs, 0) << "ran before the event loop did";

    drainMainQueue();
    EXPECT_EQ(*runs, 1);
    EXPECT_TRUE(*onMain);
}

TEST_F(MainQueueTest, PostFromTheMainThreadWaitsForTheEventLoop)
{
    EXPECT_TRUE(MainQueue::isMainThread());
    auto ran = std::make_shared<bool>(false);
    MainQueue::post([ran] { *ran = true; });
    EXPECT_FALSE(*ran);
    drainMainQueue();
    EXPECT_TRUE(*ran);
}

TEST_F(MainQueueTest, PostsFromOneThreadRunInOrder)
{
    auto order = std::make_shared<QList<int>>();
    std::thread worker([order] {
        for (int i = 0; i < 200; ++i)
            MainQueue::post([order, i] { order->append(i); });
    });
    worker.join();
    drainMainQueue();

    QList<int> expected;
    for (int i = 0; i < 200; ++i)
        expected.append(i);
    EXPECT_EQ(*order, expected);
}

TEST_F(MainQueueTest, PostWithALiveContextRuns)
{
    QObject context;
    auto ran = std::make_shared<bool>(false);
    MainQueue::post(&context, [ran] { *ran = true; });
    drainMainQueue();
    EXPECT_TRUE(*ran);
}

TEST_F(MainQueueTest, ContextDeletedBeforeTheEventLoopDropsTheCall)
{
    auto ran = std::make_shared<int>(0);
    auto* fromMain = new QObject;
    MainQueue::post(fromMain, [ran] { ++*ran; });
    auto* fromWorker = new QObject;
    std::thread worker([fromWorker, ran] { MainQueue::post(fromWorker, [ran] { ++*ran; }); });
    worker.join();

    delete fromMain;
    delete fromWorker;
    drainMainQueue();
    EXPECT_EQ(*ran, 0);
}

TEST_F(MainQueueTest, NoContextOrNoFunctionIsIgnored)
{
    auto ran = std::make_shared<bool>(false);
    MainQueue::post(nullptr, [ran] { *ran = true; });
    MainQueue::post(std::function<void()>());
    QObject context;
    MainQueue::post(&context, std::function<void()>());
    drainMainQueue();
    EXPECT_FALSE(*ran);
}

TEST_F(MainQueueTest, PostAfterWaitsForTheSharedClock)
{
    env.clock().setNow(500);
    auto ran = std::make_shared<bool>(false);
    MainQueue::postAfter(60, [ran] { *ran = true; });

    drainMainQueue();
    EXPECT_FALSE(*ran) << "ran before the clock moved";
    env.clock().advance(59);
    drainMainQueue();
    EXPECT_FALSE(*ran) << "ran a second early";
    env.clock().advance(1);
    drainMainQueue();
    EXPECT_TRUE(*ran);
}

TEST_F(MainQueueTest, PostAfterFromAWorkerThreadRunsOnTheMainThread)
{
    auto onMain = std::make_shared<bool>(false);
    std::thread worker(
        [onMain] { MainQueue::postAfter(1, [onMain] { *onMain = MainQueue::isMainThread(); }); });
    worker.join();
    env.clock().advance(1);
    drainMainQueue();
    EXPECT_TRUE(*onMain);
}

TEST_F(MainQueueTest, PostAfterUsesTheSystemClockWhenNoneIsInstalled)
{
    Clock::setShared(nullptr);
    auto ran = std::make_shared<bool>(false);
    MainQueue::postAfter(0.01, [ran] { *ran = true; });
    EXPECT_TRUE(processEventsUntil([ran] { return *ran; }));
}

TEST_F(MainQueueTest, IsMainThreadIsFalseOnAQThread)
{
    bool onMain = true;
    std::unique_ptr<QThread> thread(
        QThread::create([&onMain] { onMain = MainQueue::isMainThread(); }));
    thread->start();
    thread->wait();
    EXPECT_FALSE(onMain);
}

} // namespace
