#include "dispatch/Clock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include <pthread.h>

#include <QCoreApplication>
#include <QTimer>

#include "dispatch/MainQueue.h"

namespace {

using TimePoint = std::chrono::system_clock::time_point;

TimePoint toTimePoint(double deadline)
{
    // Beyond the year 2262 nanoseconds since 1970 overflow; such a call never comes due.
    const double since1970 = deadline + Clock::referenceDateOffset;
    if (!(since1970 < 9.0e9))
        return TimePoint::max();
    if (since1970 <= 0)
        return TimePoint();
    // Rounded up, so that a call never runs while now() still reads before its deadline.
    return TimePoint(
        std::chrono::ceil<TimePoint::duration>(std::chrono::duration<double>(since1970)));
}

// The timed calls of the system clock and the loop of the one thread that runs them. The
// thread shares ownership, so it stays valid if the clock is dropped by one of its own calls.
class Timeline {
public:
    quint64 add(TimePoint deadline, std::function<void()> fn)
    {
        std::lock_guard lock(m_mutex);
        const quint64 id = m_nextId++;
        const bool earliest = m_calls.empty() || deadline < m_calls.begin()->first.first;
        m_calls.emplace(std::make_pair(deadline, id), std::move(fn));
        m_deadlines.emplace(id, deadline);
        // Only a new earliest deadline changes how long the thread must sleep.
        if (earliest)
            m_wake.notify_one();
        return id;
    }

    void cancel(quint64 id)
    {
        std::function<void()> dropped;
        std::lock_guard lock(m_mutex);
        const auto found = m_deadlines.find(id);
        if (found == m_deadlines.end())
            return;
        const auto call = m_calls.find(std::make_pair(found->second, id));
        dropped = std::move(call->second);
        m_calls.erase(call);
        m_deadlines.erase(found);
        // No wake-up: a thread sleeping towards a cancelled deadline wakes once, finds
        // nothing due and sleeps on, which costs no more than waking it now.
    }

    void stop()
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_wake.notify_one();
    }

    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stopping) {
            if (m_calls.empty() || m_calls.begin()->first.first == TimePoint::max()) {
                m_wake.wait(lock);
                continue;
            }
            const auto first = m_calls.begin();
            const TimePoint deadline = first->first.first;
            if (std::chrono::system_clock::now() < deadline) {
                // Waits on the wall clock itself, so a changed system time moves the wake-up.
                m_wake.wait_until(lock, deadline);
                continue;
            }
            std::function<void()> fn = std::move(first->second);
            m_deadlines.erase(first->first.second);
            m_calls.erase(first);
            lock.unlock();
            fn();
            // Captures are released before relocking: releasing them may cancel calls.
            fn = nullptr;
            lock.lock();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::pair<TimePoint, quint64>, std::function<void()>> m_calls;
    std::unordered_map<quint64, TimePoint> m_deadlines;
    quint64 m_nextId = 1;
    bool m_stopping = false;
};

class SystemClock final : public Clock {
public:
    ~SystemClock() override
    {
        if (!m_thread.joinable())
            return;
        m_timeline->stop();
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach();
        else
            m_thread.join();
    }

    double now() const override
    {
        const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
        return std::chrono::duration<double>(sinceEpoch).count() - referenceDateOffset;
    }

    void callAfter(double seconds, std::function<void()> fn) override
    {
        // QTimer takes an int of milliseconds: a longer wait (over 24 days) is cut to that,
        // rather than overflowing into a negative timeout that never fires.
        const double wanted = seconds > 0 ? seconds * 1000.0 + 0.5 : 0.0;
        const int ms = static_cast<int>(std::min(wanted, double(std::numeric_limits<int>::max())));
        // QTimer needs the main thread's event loop, so arm it from there.
        MainQueue::post([ms, fn = std::move(fn)]() mutable {
            QTimer::singleShot(ms, Qt::PreciseTimer, QCoreApplication::instance(), std::move(fn));
        });
    }

    quint64 callAt(double deadline, std::function<void()> fn) override
    {
        // The thread starts with the first timed call: most processes never make one.
        std::call_once(m_started, [this] {
            m_thread = std::thread([timeline = m_timeline] {
                pthread_setname_np(pthread_self(), "chimebox-clock");
                timeline->run();
            });
        });
        return m_timeline->add(toTimePoint(deadline), std::move(fn));
    }

    void cancelCall(quint64 id) override { m_timeline->cancel(id); }

private:
    std::shared_ptr<Timeline> m_timeline = std::make_shared<Timeline>();
    std::once_flag m_started;
    std::thread m_thread;
};

std::mutex& clockMutex()
{
    static std::mutex m;
    return m;
}

std::shared_ptr<Clock>& installedClock()
{
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

} // namespace

Clock::~Clock() = default;

std::shared_ptr<Clock> Clock::shared()
{
    std::lock_guard lock(clockMutex());
    return installedClock();
}

void Clock::setShared(std::shared_ptr<Clock> clock)
{
    std::lock_guard lock(clockMutex());
    installedClock() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

double Clock::current()
{
    return shared()->now();
}
