#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "tallycore_export.h"

// One completed work session.
struct TALLYCORE_EXPORT Session {
    static QString fetchRequest() { return QStringLiteral("Session"); }

    double finishedAt = 0;
    std::int32_t tasksCount = 0;
    std::optional<QString> cloudRecordID;
};

inline bool operator<(const Session& a, const Session& b)
{
    return a.finishedAt < b.finishedAt;
}
inline bool operator==(const Session& a, const Session& b)
{
    return a.finishedAt == b.finishedAt;
}
inline bool operator!=(const Session& a, const Session& b)
{
    return !(a == b);
}
inline bool operator<=(const Session& a, const Session& b)
{
    return !(b < a);
}
inline bool operator>(const Session& a, const Session& b)
{
    return b < a;
}
inline bool operator>=(const Session& a, const Session& b)
{
    return !(a < b);
}
