#include "ui/ReportSegments.h"

#include "reports/ReportEngine.h"

const char* ReportSegments::labelKey(int segment)
{
    switch (segment) {
    case Today:
        return "CHART_SEGMENT_TODAY";
    case Workweek:
        return "CHART_SEGMENT_WORKWEEK";
    case Week:
        return "CHART_SEGMENT_WEEK";
    case Month:
        return "CHART_SEGMENT_MONTH";
    default:
        return "CHART_SEGMENT_CUSTOM";
    }
}

const char* ReportSegments::periodWordKey(int segment)
{
    switch (segment) {
    case Today:
        return "SHARE_PERIOD_DAY";
    case Workweek:
        return "SHARE_PERIOD_WORKWEEK";
    case Week:
        return "SHARE_PERIOD_WEEK";
    case Month:
        return "SHARE_PERIOD_MONTH";
    default:
        return nullptr;
    }
}

Date ReportSegments::day(std::optional<Date> given, Date now)
{
    return given.value_or(now);
}

ReportPeriod ReportSegments::period(int segment, Date day)
{
    switch (segment) {
    case Workweek:
        return ReportPeriod(day.workweekAgo(), day);
    case Week:
        return ReportPeriod(day.weekAgo(), day);
    default:
        return ReportPeriod(day.monthAgo(), day);
    }
}

QString ReportSegments::report(ReportEngine& engine, int segment, Date day)
{
    switch (segment) {
    case Today:
        return engine.report(day);
    case Workweek:
        return engine.reportForWorkweek(period(segment, day));
    case Week:
        return engine.reportForWeek(period(segment, day));
    default:
        return engine.reportForMonth(period(segment, day));
    }
}
