#include "dispatch/ManualClock.h"

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
    m_pending.push_back({m_now + std::max(0.0, seconds), m_nextOrder++, std::move(fn)});
}

void ManualClock::setNow(double seconds)
{
    std::lock_guard lock(m_mutex);
    m_now = seconds;
}

void ManualClock::advance(double seconds)
{
    std::vector<Pending> due;
    {
        std::lock_guard lock(m_mutex);
        m_now += seconds;
        auto firstLater =
            std::stable_partition(m_pending.begin(), m_pending.end(),
                                  [this](const Pending& p) { return p.deadline <= m_now; });
        due.assign(std::make_move_iterator(m_pending.begin()), std::make_move_iterator(firstLater));
        m_pending.erase(m_pending.begin(), firstLater);
    }
    std::sort(due.begin(), due.end(), [](const Pending& a, const Pending& b) {
        return a.deadline != b.deadline ? a.deadline < b.deadline : a.order < b.order;
    });
    for (auto& p : due)
        MainQueue::post(std::move(p.fn));
}

int ManualClock::pendingCalls() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_pending.size());
}
