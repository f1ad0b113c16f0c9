#pragma once

#include <QString>

// The two counters' values for today, kept in the settings so a restart on the same day
// carries on counting.
class DayCounts {
public:
    // Today as "dd/MM/yyyy" in local time, from the shared clock.
    static QString today();

    static int tasksInSessionsToday();
    static int tasksFinishToday();
    static void saveTasksInSessionsToday(int count);
    static void saveTasksFinishToday(int count);

private:
    static int countForToday(const char* key);
    static void save(const char* key, int count);
};
