#pragma once

#include <optional>

#include <QString>

#include "store/Date.h"
#include "store/ReportPeriod.h"

class ReportEngine;

// The report window's five choices: what each is called and which report it shows.
class ReportSegments {
public:
    enum Segment { Today = 0, Workweek, Week, Month, Custom };
    static constexpr int Count = 5;

    static const char* labelKey(int segment);
    // The word the shared message uses for the segment; null for the custom period.
    static const char* periodWordKey(int segment);

    // The day the segments show or end on: the one the opener gave, or now.
    static Date day(std::optional<Date> given, Date now);
    // The period of Workweek, Week or Month, ending on `day`.
    static ReportPeriod period(int segment, Date day);
    // The page of Today to Month for `day`; the custom period has its own sheet.
    static QString report(ReportEngine& engine, int segment, Date day);
};
