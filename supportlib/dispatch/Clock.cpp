#include "dispatch/Clock.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <mutex>

#include <QCoreApplication>
#include <QTimer>

#include "dispatch/MainQueue.h"

namespace {

class SystemClock final : public Clock {
public:
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
