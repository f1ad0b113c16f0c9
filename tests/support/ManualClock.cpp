#include "support/ManualClock.h"

#include <algorithm>

#include "dispatch/MainQueue.h"

ManualClock::ManualClock(double start)
    : m_now(start)
{}

double ManualClock::now() const
{
    std::lock_guard lock(m_mutex);
    return m_now;
}

void ManualClock::callAfter(double seconds, std::function<void()> fn)
{
    std::lock_guard lock(m_mutex);
    m_pending.push_back({m_now + std::max(0.0, seconds), m_nextOrder++, true, std::move(fn)});
}

quint64 ManualClock::callAt(double deadline, std::function<void()> fn)
{
    std::lock_guard lock(m_mutex);
    const quint64 id = m_nextOrder++;
    m_pending.push_back({deadline, id, false, std::move(fn)});
    return id;
}

void ManualClock::cancelCall(quint64 id)
{
    std::function<void()> dropped;
    std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_pending.begin(), m_pending.end(), [id](const Pending& p) {
        return !p.onMainThread && p.order == id;
    });
    if (found == m_pending.end())
        return;
    dropped = std::move(found->fn);
    m_pending.erase(found);
}

void ManualClock::setNow(double seconds)
{
    {
        std::lock_guard lock(m_mutex);
        m_now = seconds;
    }
    runDueCalls();
}

void ManualClock::advance(double seconds)
{
    {
        std::lock_guard lock(m_mutex);
        m_now += seconds;
    }
    runDueCalls();
}

void ManualClock::runDueCalls()
{
    // One call at a time and without the lock: a timed call may arm the next one.
    for (;;) {
        Pending next{};
        {
            std::lock_guard lock(m_mutex);
            auto earliest = m_pending.end();
            for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
                if (it->deadline > m_now)
                    continue;
                if (earliest == m_pending.end() || it->deadline < earliest->deadline ||
                    (it->deadline == earliest->deadline && it->order < earliest->order))
                    earliest = it;
            }
            if (earliest == m_pending.end())
                return;
            next = std::move(*earliest);
            m_pending.erase(earliest);
        }
        if (next.onMainThread)
            MainQueue::post(std::move(next.fn));
        else
            next.fn();
    }
}

int ManualClock::pendingCalls() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_pending.size());
}
