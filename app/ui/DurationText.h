#pragma once

#include <QString>

// The time worked on a task as a task row shows it: "1 h 30 min", " 25 min", "1 h".
class DurationText {
public:
    // Whole hours, then whole minutes when a minute or more is left; under a minute nothing.
    static QString text(int seconds);
};
