#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "dispatch/Clock.h"

// A clock that moves only when told to; delayed calls become due as it advances.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 0.0);

    double now() const override;
    void callAfter(double seconds, std::function<void()> fn) override;
    // Timed calls run inside the setNow() or advance() that reaches their deadline, on
    // the calling thread; one whose deadline has already passed runs on the next move.
    quint64 callAt(double deadline, std::function<void()> fn) override;
    void cancelCall(quint64 id) override;

    // Both run every call that became due, earliest deadline first (calls with the same
    // deadline in the order they were made), including calls made by due calls that are
    // themselves already due. callAfter() calls are posted to the main thread; callAt()
    // calls run before the function returns.
    void setNow(double seconds);
    void advance(double seconds);
    int pendingCalls() const;

private:
    struct Pending {
        double deadline;
        quint64 order;
        bool onMainThread;
        std::function<void()> fn;
    };

    void runDueCalls();

    mutable std::mutex m_mutex;
    double m_now;
    quint64 m_nextOrder = 1;
    std::vector<Pending> m_pending;
};
