#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "tallycore_export.h"

// One achieved daily goal.
struct TALLYCORE_EXPORT Goal {
    static QString fetchRequest() { return QStringLiteral("Goal"); }

    double achieveAt = 0;
    std::int32_t tasksCount = 0;
    std::optional<QString> cloudRecordID;
};

inline bool operator<(const Goal& a, const Goal& b)
{
    return a.achieveAt < b.achieveAt;
}
inline bool operator==(const Goal& a, const Goal& b)
{
    return a.achieveAt == b.achieveAt;
}
inline bool operator!=(const Goal& a, const Goal& b)
{
    return !(a == b);
}
inline bool operator<=(const Goal& a, const Goal& b)
{
    return !(b < a);
}
inline bool operator>(const Goal& a, const Goal& b)
{
    return b < a;
}
inline bool operator>=(const Goal& a, const Goal& b)
{
    return !(a < b);
}
