#pragma once

#include <optional>

#include <QString>

// One row of the logbook, as plain values: what it shows and where it sorts.
struct LogbookRow {
    enum class Kind { Task, Session, Goal, Start, Empty };

    static constexpr int rowHeight = 100;
    static constexpr int emptyHeight = 400;

    Kind kind = Kind::Empty;
    int height = emptyHeight;
    // Seconds since 2001-01-01 UTC; absent for the start and the empty rows.
    std::optional<double> order;

    // Task rows: the running totals of the task up to and including this interval.
    QString taskName;
    int iterations = 0;
    int totalTime = 0;
    // Session rows.
    int tasksCount = 0;
    // Goal rows.
    int goal = 0;
    // The start row.
    double startTime = 0;
};
