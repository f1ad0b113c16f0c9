#include "ui/DayTitle.h"

#include <QLocale>

#include "store/Localization.h"

QString DayTitle::text(Date day, const char* todayKey, const char* yesterdayKey)
{
    if (day.isToday())
        return Localization::text(todayKey);
    if (day.isYesterday())
        return Localization::text(yesterdayKey);
    return QLocale::system().toString(day.toDateTime().date(), QStringLiteral("d MMM"));
}
