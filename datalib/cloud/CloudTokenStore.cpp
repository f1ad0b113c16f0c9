#include "cloud/CloudTokenStore.h"

#include <array>
#include <utility>

namespace {

// The session zone's key is spelled with three s in every stored settings file.
constexpr std::array<std::pair<const char*, const char*>, 6> zoneKeys{{
    {"TasksInfoZone", "TaskInfoCloudChangeToken"},
    {"TasksZone", "TaskCloudChangeToken"},
    {"SessionsZone", "SesssionCloudChangeToken"},
    {"GoalsZone", "GoalCloudChangeToken"},
    {"ThiefsZone", "ThiefCloudChangeToken"},
    {"WorksActivityZone", "WorkActivityChangeToken"},
}};

} // namespace

CloudTokenStore::~CloudTokenStore() = default;

std::optional<QString> CloudTokenStore::zoneKey(const QString& zoneName)
{
    for (const auto& [zone, key] : zoneKeys) {
        if (zoneName == QLatin1String(zone))
            return QLatin1String(key);
    }
    return std::nullopt;
}

QStringList CloudTokenStore::keys()
{
    QStringList keys{QLatin1String(databaseKey)};
    for (const auto& entry : zoneKeys)
        keys.append(QLatin1String(entry.second));
    return keys;
}
