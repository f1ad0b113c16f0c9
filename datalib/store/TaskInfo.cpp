#include "store/TaskInfo.h"

#include <array>

namespace {

constexpr std::array<const char*, 6> rawValues = {"#f72020", "#ffa044", "#82cf52",
                                                  "#59b6e8", "#ac92ec", "#fe2f68"};

} // namespace

QString TaskInfo::rawValue(Colors color)
{
    return QString::fromLatin1(rawValues[static_cast<size_t>(color)]);
}

std::optional<TaskInfo::Colors> TaskInfo::colorFromRawValue(const QString& raw)
{
    for (size_t i = 0; i < rawValues.size(); ++i) {
        if (raw == QLatin1String(rawValues[i]))
            return static_cast<Colors>(i);
    }
    return std::nullopt;
}
