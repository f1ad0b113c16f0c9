#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "tallycore_export.h"

// One finished task interval, as a snapshot of its row.
struct TALLYCORE_EXPORT Pomodoro {
    static QString fetchRequest() { return QStringLiteral("Pomodoro"); }

    double startTime = 0;
    double endTime = 0;
    std::int32_t duration = 0;
    std::int32_t freeTimeDuration = 0;
    // Only rows without a linked task carry a name of their own.
    std::optional<QString> taskName;
    // The linked task, when there is one: its name and its cloud record name.
    bool hasTaskInfo = false;
    std::optional<QString> taskInfoName;
    std::optional<QString> taskInfoCloudRecordID;
    std::optional<QString> cloudRecordID;
};

// Chronological order; equality compares the stored task name only.
inline bool operator<(const Pomodoro& a, const Pomodoro& b)
{
    return a.startTime < b.startTime;
}
inline bool operator==(const Pomodoro& a, const Pomodoro& b)
{
    return a.taskName == b.taskName;
}
inline bool operator!=(const Pomodoro& a, const Pomodoro& b)
{
    return !(a == b);
}
inline bool operator<=(const Pomodoro& a, const Pomodoro& b)
{
    return !(b < a);
}
inline bool operator>(const Pomodoro& a, const Pomodoro& b)
{
    return b < a;
}
inline bool operator>=(const Pomodoro& a, const Pomodoro& b)
{
    return !(a < b);
}
