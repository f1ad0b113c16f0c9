#pragma once

#include <QString>

#include "store/Date.h"

// How a window's header names the day it shows: its own words for today and yesterday,
// otherwise the day and the short month in the user's language.
class DayTitle {
public:
    static QString text(Date day, const char* todayKey, const char* yesterdayKey);
};
