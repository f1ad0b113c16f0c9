#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "chimebox_export.h"
#include "dispatch/Clock.h"

// A clock that moves only when told to; delayed calls become due as it advances.
class CHIMEBOX_EXPORT ManualClock final : public Clock {
public:
    explicit ManualClock(double start = 0.0);

    double now() const override;
    void callAfter(double seconds, std::function<void()> fn) override;

    void setNow(double seconds);
    // Moves time forward and posts every call that became due, in deadline order.
    void advance(double seconds);
    int pendingCalls() const;

private:
    struct Pending {
        double deadline;
        unsigned long long order;
        std::function<void()> fn;
    };

    mutable std::mutex m_mutex;
    double m_now;
    unsigned long long m_nextOrder = 0;
    std::vector<Pending> m_pending;
};
