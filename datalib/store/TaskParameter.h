#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "tallycore_export.h"

// The values of one new Pomodoro; every field starts absent.
struct TALLYCORE_EXPORT TaskParameter {
    std::optional<std::int32_t> duration;
    std::optional<double> endTime;
    std::optional<std::int32_t> freeTimeDuration;
    // Carried for the caller; never stored.
    std::optional<bool> goalAchieve;
    std::optional<bool> sessionComplete;
    std::optional<double> startTime;
    // A catalogued task's name; absent for a generic task.
    std::optional<QString> taskName;
};
