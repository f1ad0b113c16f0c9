#pragma once

#include <optional>
#include <vector>

#include <QList>

#include "store/Date.h"

// The day bounds of a list of dates (local midnight to the last whole second of that day),
// for sorting instants into the days of a report with one pass over a query's rows.
class DayIndex {
public:
    explicit DayIndex(const QList<Date>& days);

    bool isEmpty() const { return m_days.empty(); }
    // The earliest and latest instant that falls in any of the days.
    Date lowerBound() const;
    Date upperBound() const;
    // The position in the list given of the day whose bounds hold the instant. A day listed
    // twice collects under one of its positions.
    std::optional<qsizetype> dayOf(double instant) const;

private:
    struct Day {
        double start;
        double end;
        qsizetype position;
    };
    // Ordered by start.
    std::vector<Day> m_days;
};
