#pragma once

#include <functional>
#include <memory>

#include "chimebox_export.h"

class SerialQueue;

// A repeating timer whose handler runs on a serial queue. Deadlines are fixed on a grid
// (start + k × interval) of the shared Clock, so ticks never drift. It is created
// suspended; resume() and suspend() must balance, and it never fires while suspended.
//
// Missed deadlines are coalesced: when a tick comes due late (a resume after the timer
// was suspended past a deadline, or a clock that jumped several intervals at once), the
// handler runs once, and the next tick is the first grid point after now. Suspending does
// not interrupt a handler that has already started; a tick queued before a suspend() or
// cancel() is dropped. The queue must outlive the timer.
class CHIMEBOX_EXPORT DispatchTimer {
public:
    DispatchTimer(SerialQueue& queue, std::function<void()> handler);
    // Cancels.
    ~DispatchTimer();
    DispatchTimer(const DispatchTimer&) = delete;
    DispatchTimer& operator=(const DispatchTimer&) = delete;

    // First deadline at `start` (seconds on the shared Clock), then every `interval`.
    // The system clock aims at each deadline itself; `leeway` only says how late a tick
    // may acceptably be. Rescheduling a running timer drops a tick already queued.
    void schedule(double start, double interval = 1.0, double leeway = 0.001);
    // A resume without a matching suspend is a programming error: it asserts in debug
    // builds and is ignored, with one warning, otherwise.
    void resume();
    void suspend();
    // Stops the timer for good and releases the handler once it is not running.
    void cancel();
    bool isCancelled() const;
    bool isSuspended() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};
