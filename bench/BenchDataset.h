#pragma once

#include <optional>
#include <string>

#include <QString>

#include "store/Date.h"

// A store of three years of heavy use, written once per benchmark run.
struct BenchDataset {
    static constexpr int pomodoroCount = 100000;
    static constexpr int dayCount = 1095;
    static constexpr int taskCount = 50;
    static constexpr int sessionCount = 5000;
    static constexpr int goalCount = 1000;
    static constexpr int exportDayCount = 12;

    QString dataDirectory;
    QString storeFilePath;
    // Noon of the named days (local time), so that day queries never straddle midnight.
    Date today;
    Date typicalDay;
    // The first of thirty consecutive days.
    Date monthStart;
    // Outside the three years; holds exactly exportDayCount pomodoros.
    Date exportDay;

    // Points HOME, TZ and the XDG folders at a new temporary folder named after the
    // benchmark, so nothing of the user's is read or written; answers that folder.
    static std::optional<std::string> isolateEnvironment(const char* name);
    // Replaces any store in dataDirectory. Answers an error text on failure.
    static std::optional<QString> build(const QString& dataDirectory, BenchDataset* dataset);
};
