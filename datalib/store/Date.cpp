#include "store/Date.h"

#include <cmath>
#include <ctime>

#include "dispatch/Clock.h"

namespace {

// Local midnight of the day `dayOffset` days after the local day holding t (seconds since 1970).
std::time_t localMidnight(std::time_t t, int dayOffset)
{
    // mktime re-reads TZ; localtime_r alone may keep a zone from before a change.
    tzset();
    std::tm local{};
    localtime_r(&t, &local);
    local.tm_mday += dayOffset;
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::time_t wholeSeconds1970(double secondsSince1970)
{
    return static_cast<std::time_t>(std::floor(secondsSince1970));
}

} // namespace

Date Date::now()
{
    return Date(Clock::current());
}

Date Date::fromSecsSince1970(double seconds)
{
    return Date(seconds - Clock::referenceDateOffset);
}

Date Date::fromDateTime(const QDateTime& dateTime)
{
    return fromSecsSince1970(static_cast<double>(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

double Date::secsSince1970() const
{
    return m_seconds + Clock::referenceDateOffset;
}

QDateTime Date::toDateTime() const
{
    return QDateTime::fromMSecsSinceEpoch(std::llround(secsSince1970() * 1000.0));
}

Date Date::beginningOfDay() const
{
    const std::time_t midnight = localMidnight(wholeSeconds1970(secsSince1970()), 0);
    return fromSecsSince1970(static_cast<double>(midnight));
}

Date Date::endOfDay() const
{
    const std::time_t nextMidnight = localMidnight(wholeSeconds1970(secsSince1970()), 1);
    return fromSecsSince1970(static_cast<double>(nextMidnight) - 1.0);
}

namespace {

bool strictlyWithinDayOf(Date d, Date reference)
{
    return reference.beginningOfDay() < d && d < reference.endOfDay();
}

} // namespace

bool Date::isToday() const
{
    return strictlyWithinDayOf(*this, now());
}

bool Date::isYesterday() const
{
    return strictlyWithinDayOf(*this, now().addingTimeInterval(-dayInterval));
}
