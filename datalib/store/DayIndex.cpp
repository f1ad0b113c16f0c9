#include "store/DayIndex.h"

#include <algorithm>

DayIndex::DayIndex(const QList<Date>& days)
{
    m_days.reserve(static_cast<size_t>(days.size()));
    for (qsizetype i = 0; i < days.size(); ++i) {
        m_days.push_back({days[i].beginningOfDay().timeIntervalSinceReferenceDate(),
                          days[i].endOfDay().timeIntervalSinceReferenceDate(), i});
    }
    std::stable_sort(m_days.begin(), m_days.end(),
                     [](const Day& a, const Day& b) { return a.start < b.start; });
}

Date DayIndex::lowerBound() const
{
    return m_days.empty() ? Date() : Date(m_days.front().start);
}

Date DayIndex::upperBound() const
{
    double end = m_days.empty() ? 0.0 : m_days.front().end;
    for (const Day& day : m_days)
        end = std::max(end, day.end);
    return Date(end);
}

std::optional<qsizetype> DayIndex::dayOf(double instant) const
{
    auto after = std::upper_bound(m_days.begin(), m_days.end(), instant,
                                  [](double value, const Day& day) { return value < day.start; });
    if (after == m_days.begin())
        return std::nullopt;
    const Day& day = *(after - 1);
    if (instant > day.end)
        return std::nullopt;
    return day.position;
}
