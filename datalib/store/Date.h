#pragma once

#include <compare>

#include <QDateTime>

#include "tallycore_export.h"

// An instant: seconds since 2001-01-01 00:00:00 UTC. Day boundaries follow the local
// time zone (TZ is honoured); the fixed shifts are plain numbers of seconds.
class TALLYCORE_EXPORT Date {
public:
    static constexpr double dayInterval = 86400.0;
    static constexpr double workweekInterval = 432000.0;
    static constexpr double weekInterval = 604800.0;
    static constexpr double monthInterval = 2592000.0;

    constexpr Date() = default;
    constexpr explicit Date(double secondsSinceReferenceDate)
        : m_seconds(secondsSinceReferenceDate)
    {}

    static Date now();
    static Date fromSecsSince1970(double seconds);
    static Date fromDateTime(const QDateTime& dateTime);

    constexpr double timeIntervalSinceReferenceDate() const { return m_seconds; }
    double secsSince1970() const;
    QDateTime toDateTime() const;

    // Local midnight of the day holding this instant.
    Date beginningOfDay() const;
    // The last whole second of that day: one second before the next local midnight.
    Date endOfDay() const;

    constexpr Date next() const { return Date(m_seconds + dayInterval); }
    constexpr Date previous() const { return Date(m_seconds - dayInterval); }
    constexpr Date weekAgo() const { return Date(m_seconds - weekInterval); }
    constexpr Date workweekAgo() const { return Date(m_seconds - workweekInterval); }
    constexpr Date monthAgo() const { return Date(m_seconds - monthInterval); }
    constexpr Date addingTimeInterval(double seconds) const { return Date(m_seconds + seconds); }

    // Strictly inside today's bounds: local midnight itself and the last second are not.
    bool isToday() const;
    bool isYesterday() const;

    constexpr auto operator<=>(const Date&) const = default;

private:
    double m_seconds = 0.0;
};
