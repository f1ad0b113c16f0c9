#include "timer/DayCounts.h"

#include "settings/Settings.h"
#include "store/Date.h"

QString DayCounts::today()
{
    return Date::now().toDateTime().toLocalTime().toString(QStringLiteral("dd/MM/yyyy"));
}

int DayCounts::countForToday(const char* key)
{
    Settings& settings = Settings::shared();
    const auto day = settings.stringValue(QLatin1String(Settings::LastTaskComplete));
    // The registered default day lies in the past, so a fresh store counts from 0.
    if (!day || *day != today())
        return 0;
    return settings.intValue(QLatin1String(key));
}

void DayCounts::save(const char* key, int count)
{
    Settings& settings = Settings::shared();
    settings.setInt(QLatin1String(key), count);
    settings.setString(QLatin1String(Settings::LastTaskComplete), today());
}

int DayCounts::tasksInSessionsToday()
{
    return countForToday(Settings::TasksInSessionsToday);
}

int DayCounts::tasksFinishToday()
{
    return countForToday(Settings::TasksFinishToday);
}

void DayCounts::saveTasksInSessionsToday(int count)
{
    save(Settings::TasksInSessionsToday, count);
}

void DayCounts::saveTasksFinishToday(int count)
{
    save(Settings::TasksFinishToday, count);
}
