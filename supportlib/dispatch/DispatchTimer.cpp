#include "dispatch/DispatchTimer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>
#include <utility>

#include <QtGlobal>

#include "dispatch/Clock.h"
#include "dispatch/SerialQueue.h"

// Shared with the callbacks on the clock and the queue, which hold it weakly: a callback
// that arrives after the timer is gone finds nothing and does nothing.
struct DispatchTimer::State : std::enable_shared_from_this<State> {
    State(SerialQueue& q, std::function<void()> fn)
        : queue(q)
        , handler(std::make_shared<std::function<void()>>(std::move(fn)))
    {}

    // The first grid point strictly after t; infinity when there is none (one-shot).
    double gridAfter(double t) const
    {
        if (t < start)
            return start;
        if (!(interval > 0) || !std::isfinite(interval))
            return std::numeric_limits<double>::infinity();
        double k = std::floor((t - start) / interval) + 1;
        // The division may round either way; settle on the exact first point after t.
        while (start + k * interval <= t)
            ++k;
        while (k > 1 && start + (k - 1) * interval > t)
            --k;
        return start + k * interval;
    }

    // Everything below runs with `mutex` held.

    bool running() const { return scheduled && !cancelled && suspendCount == 0; }

    void arm(const std::shared_ptr<Clock>& clock)
    {
        if (!std::isfinite(nextDeadline))
            return;
        armedClock = clock;
        armedCall = clock->callAt(
            nextDeadline, [weak = weak_from_this(), gen = generation, deadline = nextDeadline] {
                if (auto self = weak.lock())
                    self->deadlineReached(gen, deadline);
            });
    }

    void disarm()
    {
        if (armedCall == 0)
            return;
        if (auto clock = armedClock.lock())
            clock->cancelCall(armedCall);
        armedCall = 0;
        armedClock.reset();
    }

    void fire() { fire(generation); }

    // Needs no lock: a tick queued for a generation that has passed is dropped on the queue.
    void fire(quint64 gen)
    {
        queue.async([weak = weak_from_this(), gen] {
            if (auto self = weak.lock())
                self->runHandler(gen);
        });
    }

    // Starts a timer that has just become running.
    void activate()
    {
        const std::shared_ptr<Clock> clock = Clock::shared();
        const double now = clock->now();
        const bool missed = nextDeadline <= now;
        if (missed)
            nextDeadline = gridAfter(now);
        arm(clock);
        if (missed)
            fire();
    }

    // On the clock's context.
    void deadlineReached(quint64 gen, double deadline)
    {
        {
            std::lock_guard lock(mutex);
            if (gen != generation || !running())
                return;
            std::shared_ptr<Clock> clock = armedClock.lock();
            if (!clock)
                clock = Clock::shared();
            armedCall = 0;
            // A clock that reads a hair before the deadline must not arm the same point again.
            nextDeadline = gridAfter(std::max(clock->now(), deadline));
            arm(clock);
        }
        // Queued after the lock is released, so the queue's thread, woken at once, does not
        // wake only to wait for this thread's lock.
        fire(gen);
    }

    // On the queue.
    void runHandler(quint64 gen)
    {
        std::shared_ptr<std::function<void()>> fn;
        {
            std::lock_guard lock(mutex);
            if (gen != generation || !running())
                return;
            fn = handler;
        }
        if (fn && *fn)
            (*fn)();
    }

    std::mutex mutex;
    SerialQueue& queue;
    std::shared_ptr<std::function<void()>> handler;
    double start = 0;
    double interval = 1;
    double nextDeadline = 0;
    bool scheduled = false;
    bool cancelled = false;
    bool warnedUnbalanced = false;
    int suspendCount = 1;
    // Bumped by every suspend, cancel and schedule; ticks from an older generation are
    // dropped, so nothing armed or queued before those calls runs the handler.
    quint64 generation = 0;
    std::weak_ptr<Clock> armedClock;
    quint64 armedCall = 0;
};

DispatchTimer::DispatchTimer(SerialQueue& queue, std::function<void()> handler)
    : m_state(std::make_shared<State>(queue, std::move(handler)))
{}

DispatchTimer::~DispatchTimer()
{
    cancel();
}

void DispatchTimer::schedule(double start, double interval, [[maybe_unused]] double leeway)
{
    std::lock_guard lock(m_state->mutex);
    if (m_state->cancelled)
        return;
    ++m_state->generation;
    m_state->disarm();
    m_state->start = start;
    m_state->interval = interval;
    m_state->nextDeadline = start;
    m_state->scheduled = true;
    if (m_state->running())
        m_state->activate();
}

void DispatchTimer::resume()
{
    std::lock_guard lock(m_state->mutex);
    if (m_state->suspendCount == 0) {
        Q_ASSERT_X(false, "DispatchTimer::resume", "resume without a matching suspend");
        if (!m_state->warnedUnbalanced)
            qWarning("DispatchTimer: resume without a matching suspend ignored");
        m_state->warnedUnbalanced = true;
        return;
    }
    --m_state->suspendCount;
    if (m_state->running())
        m_state->activate();
}

void DispatchTimer::suspend()
{
    std::lock_guard lock(m_state->mutex);
    if (++m_state->suspendCount == 1) {
        ++m_state->generation;
        m_state->disarm();
    }
}

void DispatchTimer::cancel()
{
    // Released after the lock: the handler's captures may do anything when they go.
    std::shared_ptr<std::function<void()>> handler;
    std::lock_guard lock(m_state->mutex);
    if (m_state->cancelled)
        return;
    m_state->cancelled = true;
    ++m_state->generation;
    m_state->disarm();
    handler = std::move(m_state->handler);
}

bool DispatchTimer::isCancelled() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->cancelled;
}

bool DispatchTimer::isSuspended() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->suspendCount > 0;
}
