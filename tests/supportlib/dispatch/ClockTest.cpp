#include <memory>
#include <ostream>
#include <thread>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <QTimeZone>

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

bool onMainThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

class ClockTest : public ::testing::Test {
protected:
    TestEnvironment env;
};

TEST_F(ClockTest, CurrentReadsTheInstalledClock)
{
    env.clock().setNow(1234.5);
    EXPECT_EQ(Clock::current(), 1234.5);
    env.clock().advance(0.25);
    EXPECT_EQ(Clock::current(), 1234.75);

    auto other = std::make_shared<ManualClock>(42.0);
    Clock::setShared(other);
    EXPECT_EQ(Clock::shared(), other);
    EXPECT_EQ(Clock::current(), 42.0);
}

TEST_F(ClockTest, NullRestoresTheSystemClock)
{
    Clock::setShared(nullptr);
    EXPECT_NE(Clock::shared(), nullptr);
    const double expected =
        static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - 978307200.0;
    EXPECT_NEAR(Clock::current(), expected, 1.0);
}

TEST(ClockReferenceDate, IsTheStartOf2001InUtc)
{
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(Clock::referenceDateOffset, static_cast<double>(reference.toSecsSinceEpoch()));
}

TEST_F(ClockTest, ManualCallsRunInDeadlineOrderThroughTheEventLoop)
{
    auto ran = std::make_shared<QStringList>();
    auto record = [ran](const QString& what) { return [ran, what] { ran->append(what); }; };
    ManualClock& clock = env.clock();
    clock.setNow(1000);
    clock.callAfter(30, record(QStringLiteral("c")));
    clock.callAfter(10, record(QStringLiteral("a1")));
    clock.callAfter(20, record(QStringLiteral("b")));
    clock.callAfter(10, record(QStringLiteral("a2")));
    EXPECT_EQ(clock.pendingCalls(), 4);

    clock.advance(15);
    // Due calls are posted, not run inside advance().
    EXPECT_TRUE(ran->isEmpty());
    EXPECT_EQ(clock.pendingCalls(), 2);
    drainMainQueue();
    EXPECT_EQ(*ran, (QStringList{"a1", "a2"}));

    // One advance past several deadlines still runs them earliest first.
    clock.advance(100);
    drainMainQueue();
    EXPECT_EQ(*ran, (QStringList{"a1", "a2", "b", "c"}));
    EXPECT_EQ(clock.pendingCalls(), 0);
}

struct DeadlineRow {
    const char* name;
    double delay;
    double advanceBy;
    bool runs;
};

void PrintTo(const DeadlineRow& row, std::ostream* os)
{
    *os << row.name;
}

class ManualDeadlineTest : public ::testing::TestWithParam<DeadlineRow> {
protected:
    TestEnvironment env;
};

TEST_P(ManualDeadlineTest, RunsOnlyOnceTheClockReachesTheDeadline)
{
    const DeadlineRow& row = GetParam();
    // Deadlines count from the moment of the call, not from the clock's start.
    env.clock().setNow(1000);
    auto ran = std::make_shared<bool>(false);
    env.clock().callAfter(row.delay, [ran] { *ran = true; });

    drainMainQueue();
    EXPECT_FALSE(*ran) << "ran before the clock moved";

    env.clock().advance(row.advanceBy);
    drainMainQueue();
    EXPECT_EQ(*ran, row.runs);
}

INSTANTIATE_TEST_SUITE_P(Rows, ManualDeadlineTest,
                         ::testing::Values(DeadlineRow{"ExactlyAtTheDeadline", 5, 5, true},
                                           DeadlineRow{"JustBeforeTheDeadline", 5, 4.999, false},
                                           DeadlineRow{"LongPastTheDeadline", 5, 86400, true},
                                           DeadlineRow{"ClockNotMoved", 1, 0, false},
                                           DeadlineRow{"ZeroDelayOnTheNextAdvance", 0, 0, true},
                                           DeadlineRow{"NegativeDelayCountsAsZero", -3, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClockTest, ManualCallsFromWorkerThreadsRunOnTheMainThread)
{
    auto mainThreadRuns = std::make_shared<int>(0);
    auto note = [mainThreadRuns] {
        if (onMainThread())
            ++*mainThreadRuns;
    };
    std::thread worker([this, note] {
        env.clock().callAfter(5, note);
        env.clock().advance(5);
        env.clock().callAfter(5, note);
    });
    worker.join();
    env.clock().advance(5);
    ASSERT_TRUE(processEventsUntil([mainThreadRuns] { return *mainThreadRuns == 2; }));
}

TEST_F(ClockTest, SystemClockCallsRunOnTheMainThreadAfterTheDelay)
{
    Clock::setShared(nullptr);
    auto elapsedAtRun = std::make_shared<qint64>(-1);
    auto ranOnMain = std::make_shared<bool>(false);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    std::thread worker([elapsed, elapsedAtRun, ranOnMain] {
        Clock::shared()->callAfter(0.05, [elapsed, elapsedAtRun, ranOnMain] {
            *ranOnMain = onMainThread();
            *elapsedAtRun = elapsed->elapsed();
        });
    });
    worker.join();
    ASSERT_TRUE(processEventsUntil([elapsedAtRun] { return *elapsedAtRun >= 0; }));
    EXPECT_TRUE(*ranOnMain);
    EXPECT_GE(*elapsedAtRun, 49);
}

} // namespace
