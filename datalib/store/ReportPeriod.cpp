#include "store/ReportPeriod.h"

#include <cmath>
#include <ctime>

namespace {

int dayOrder(const std::tm& t)
{
    return t.tm_year * 400 + t.tm_yday;
}

// The instant `days` local days after `start`, at the start's clock time; where that time
// does not exist on that day (a daylight-saving gap) an instant of that day near it.
Date sameTimeDaysLater(Date start, int days)
{
    const double since1970 = start.secsSince1970();
    const double whole = std::floor(since1970);
    const auto t = static_cast<std::time_t>(whole);
    tzset();
    std::tm local{};
    localtime_r(&t, &local);

    std::tm noon = local;
    noon.tm_mday += days;
    noon.tm_hour = 12;
    noon.tm_min = 0;
    noon.tm_sec = 0;
    noon.tm_isdst = -1;
    std::mktime(&noon);
    const int wanted = dayOrder(noon);

    std::tm target = local;
    target.tm_mday += days;
    target.tm_isdst = -1;
    std::time_t moved = std::mktime(&target);
    // A time inside a gap is normalised by the gap's length, possibly into a neighbour day.
    for (int hour = 0; hour < 24; ++hour) {
        std::tm check{};
        localtime_r(&moved, &check);
        const int order = dayOrder(check);
        if (order == wanted)
            break;
        moved += order < wanted ? 3600 : -3600;
    }
    return Date::fromSecsSince1970(static_cast<double>(moved) + (since1970 - whole));
}

} // namespace

ReportPeriod::ReportPeriod(Date starting, Date ending)
    : m_startDate(starting)
    , m_endDate(ending)
{}

QList<Date> ReportPeriod::dates() const
{
    const Date endBound = m_endDate.endOfDay();
    QList<Date> result;
    Date d = m_startDate;
    int days = 0;
    do {
        result.append(d);
        d = sameTimeDaysLater(m_startDate, ++days);
    } while (endBound >= d);
    return result;
}
