#include <ostream>
#include <vector>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QList>
#include <QString>

#include "store/Date.h"
#include "store/ReportPeriod.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"

// Failures show the local time, not a bare number of seconds. Found by argument lookup.
static void PrintTo(const Date& d, std::ostream* os)
{
    *os << qPrintable(d.toDateTime().toLocalTime().toString(Qt::ISODateWithMs)) << " ("
        << QString::number(d.timeIntervalSinceReferenceDate(), 'f', 3).toStdString() << ")";
}

namespace {

Date local(const char* isoLocal)
{
    return Date(TestEnvironment::localTime(QString::fromLatin1(isoLocal)));
}

template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

TEST(DateTest, FixedIntervalsArePlainSeconds)
{
    EXPECT_EQ(Date::dayInterval, 86400.0);
    EXPECT_EQ(Date::workweekInterval, 432000.0);
    EXPECT_EQ(Date::weekInterval, 604800.0);
    EXPECT_EQ(Date::monthInterval, 2592000.0);
}

// The shifts add plain seconds, so across a daylight-saving change the clock time moves.
struct ShiftRow {
    const char* name;
    Date (Date::*shift)() const;
    double seconds;
    const char* from;
    const char* expected;
};

// Failed rows are reported by name rather than as raw bytes.
void PrintTo(const ShiftRow& row, std::ostream* os)
{
    *os << row.name;
}

class DateShiftTest : public ::testing::TestWithParam<ShiftRow> {
protected:
    TestEnvironment env{"Europe/Madrid"};
};

TEST_P(DateShiftTest, ShiftsByExactSeconds)
{
    const ShiftRow& row = GetParam();
    const Date from = local(row.from);
    const Date shifted = (from.*row.shift)();
    EXPECT_EQ(shifted.timeIntervalSinceReferenceDate() - from.timeIntervalSinceReferenceDate(),
              row.seconds);
    EXPECT_EQ(shifted, local(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateShiftTest,
    ::testing::Values(ShiftRow{"NextOnOrdinaryDay", &Date::next, 86400, "2026-06-15T12:00:00",
                               "2026-06-16T12:00:00"},
                      ShiftRow{"NextAcrossSpringChange", &Date::next, 86400, "2026-03-28T12:00:00",
                               "2026-03-29T13:00:00"},
                      ShiftRow{"NextAcrossAutumnChange", &Date::next, 86400, "2026-10-24T12:00:00",
                               "2026-10-25T11:00:00"},
                      ShiftRow{"PreviousAcrossSpringChange", &Date::previous, -86400,
                               "2026-03-29T12:00:00", "2026-03-28T11:00:00"},
                      ShiftRow{"WeekAgoAcrossSpringChange", &Date::weekAgo, -604800,
                               "2026-04-01T12:00:00", "2026-03-25T11:00:00"},
                      ShiftRow{"WorkweekAgoAcrossAutumnChange", &Date::workweekAgo, -432000,
                               "2026-10-27T12:00:00", "2026-10-22T13:00:00"},
                      ShiftRow{"MonthAgoIsThirtyDays", &Date::monthAgo, -2592000,
                               "2026-03-20T12:00:00", "2026-02-18T12:00:00"},
                      ShiftRow{"MonthAgoAcrossAutumnChange", &Date::monthAgo, -2592000,
                               "2026-11-10T12:00:00", "2026-10-11T13:00:00"}),
    rowName<ShiftRow>);

struct DayBoundsRow {
    const char* name;
    const char* zone;
    const char* moment;
    const char* begin;
    const char* end;
    double lastSecondOffset;
};

void PrintTo(const DayBoundsRow& row, std::ostream* os)
{
    *os << row.name;
}

class DayBoundsTest : public ::testing::TestWithParam<DayBoundsRow> {
protected:
    TestEnvironment env{GetParam().zone};
};

TEST_P(DayBoundsTest, BeginsAtLocalMidnightAndEndsOnTheLastWholeSecond)
{
    const DayBoundsRow& row = GetParam();
    const Date d = local(row.moment);
    EXPECT_EQ(d.beginningOfDay(), local(row.begin));
    EXPECT_EQ(d.endOfDay(), local(row.end));
    EXPECT_EQ(d.endOfDay().timeIntervalSinceReferenceDate() -
                  d.beginningOfDay().timeIntervalSinceReferenceDate(),
              row.lastSecondOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DayBoundsTest,
    ::testing::Values(
        DayBoundsRow{"OrdinaryDay", "Europe/Madrid", "2026-06-15T15:30:00", "2026-06-15T00:00:00",
                     "2026-06-15T23:59:59", 86399},
        DayBoundsRow{"AtMidnightItself", "Europe/Madrid", "2026-06-15T00:00:00",
                     "2026-06-15T00:00:00", "2026-06-15T23:59:59", 86399},
        DayBoundsRow{"InTheLastFractionOfTheDay", "Europe/Madrid", "2026-06-15T23:59:59.999",
                     "2026-06-15T00:00:00", "2026-06-15T23:59:59", 86399},
        DayBoundsRow{"LongAutumnDay", "Europe/Madrid", "2026-10-25T12:00:00", "2026-10-25T00:00:00",
                     "2026-10-25T23:59:59", 90000 - 1},
        DayBoundsRow{"InTheRepeatedHour", "Europe/Madrid", "2026-10-25T02:30:00",
                     "2026-10-25T00:00:00", "2026-10-25T23:59:59", 90000 - 1},
        DayBoundsRow{"ShortSpringDay", "Europe/Madrid", "2026-03-29T12:00:00",
                     "2026-03-29T00:00:00", "2026-03-29T23:59:59", 82800 - 1},
        DayBoundsRow{"EveOfShortSpringDay", "Europe/Madrid", "2026-03-28T23:30:00",
                     "2026-03-28T00:00:00", "2026-03-28T23:59:59", 86399},
        DayBoundsRow{"UtcZone", "UTC", "2026-06-15T15:30:00", "2026-06-15T00:00:00",
                     "2026-06-15T23:59:59", 86399},
        // The UTC date differs from the local one in each of these.
        DayBoundsRow{"HalfHourOffsetZone", "Asia/Kolkata", "2026-06-15T03:00:00",
                     "2026-06-15T00:00:00", "2026-06-15T23:59:59", 86399},
        DayBoundsRow{"FarEastOfUtc", "Pacific/Kiritimati", "2026-06-15T05:00:00",
                     "2026-06-15T00:00:00", "2026-06-15T23:59:59", 86399},
        DayBoundsRow{"WestOfUtc", "America/Los_Angeles", "2026-06-15T20:00:00",
                     "2026-06-15T00:00:00", "2026-06-15T23:59:59", 86399},
        // Clocks jump from 00:00 to 01:00 here, so the day starts at its first real instant.
        DayBoundsRow{"MidnightSkippedBySpringChange", "America/Santiago", "2026-09-06T12:00:00",
                     "2026-09-06T01:00:00", "2026-09-06T23:59:59", 82800 - 1},
        DayBoundsRow{"BeforeTheReferenceDate", "UTC", "1999-12-31T10:00:00", "1999-12-31T00:00:00",
                     "1999-12-31T23:59:59", 86399}),
    rowName<DayBoundsRow>);

struct DayMembershipRow {
    const char* name;
    const char* now;
    const char* moment;
    bool expected;
};

void PrintTo(const DayMembershipRow& row, std::ostream* os)
{
    *os << row.name;
}

class IsTodayTest : public ::testing::TestWithParam<DayMembershipRow> {
protected:
    TestEnvironment env{"Europe/Madrid"};
};

TEST_P(IsTodayTest, StrictlyInsideTodaysBounds)
{
    env.clock().setNow(TestEnvironment::localTime(QString::fromLatin1(GetParam().now)));
    EXPECT_EQ(local(GetParam().moment).isToday(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IsTodayTest,
    ::testing::Values(
        DayMembershipRow{"MidnightIsNot", "2026-03-29T12:00:00", "2026-03-29T00:00:00.000", false},
        DayMembershipRow{"OneMillisecondAfterMidnight", "2026-03-29T12:00:00",
                         "2026-03-29T00:00:00.001", true},
        DayMembershipRow{"NowItself", "2026-03-29T12:00:00", "2026-03-29T12:00:00", true},
        DayMembershipRow{"JustBeforeTheLastSecond", "2026-03-29T12:00:00", "2026-03-29T23:59:58.9",
                         true},
        DayMembershipRow{"TheLastSecondItself", "2026-03-29T12:00:00", "2026-03-29T23:59:59",
                         false},
        DayMembershipRow{"WithinTheLastSecond", "2026-03-29T12:00:00", "2026-03-29T23:59:59.5",
                         false},
        DayMembershipRow{"YesterdayNoon", "2026-03-29T12:00:00", "2026-03-28T12:00:00", false},
        DayMembershipRow{"JustAfterTomorrowsMidnight", "2026-03-29T12:00:00",
                         "2026-03-30T00:00:00.001", false},
        // A fixed 24-hour day from midnight would end at 23:00 on this day.
        DayMembershipRow{"LastHourOfLongDay", "2026-10-25T12:00:00", "2026-10-25T23:30:00", true},
        DayMembershipRow{"NowAfterTheLastSecond", "2026-06-15T23:59:59.5", "2026-06-15T12:00:00",
                         true}),
    rowName<DayMembershipRow>);

class IsYesterdayTest : public IsTodayTest {};

TEST_P(IsYesterdayTest, StrictlyInsideTheBoundsOfADayBeforeNow)
{
    env.clock().setNow(TestEnvironment::localTime(QString::fromLatin1(GetParam().now)));
    EXPECT_EQ(local(GetParam().moment).isYesterday(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IsYesterdayTest,
    ::testing::Values(
        DayMembershipRow{"MidnightIsNot", "2026-06-16T12:00:00", "2026-06-15T00:00:00", false},
        DayMembershipRow{"OneMillisecondAfterMidnight", "2026-06-16T12:00:00",
                         "2026-06-15T00:00:00.001", true},
        DayMembershipRow{"Noon", "2026-06-16T12:00:00", "2026-06-15T12:00:00", true},
        DayMembershipRow{"JustBeforeTheLastSecond", "2026-06-16T12:00:00", "2026-06-15T23:59:58.9",
                         true},
        DayMembershipRow{"WithinTheLastSecond", "2026-06-16T12:00:00", "2026-06-15T23:59:59.5",
                         false},
        DayMembershipRow{"TodayJustAfterMidnight", "2026-06-16T12:00:00", "2026-06-16T00:00:00.001",
                         false},
        DayMembershipRow{"TwoDaysAgo", "2026-06-16T12:00:00", "2026-06-14T12:00:00", false},
        // Yesterday is the day holding now minus 86400 s: early after a short day, that
        // lands two calendar days back.
        DayMembershipRow{"DayBeforeShortDayWhenNowIsJustPastIt", "2026-03-30T00:30:00",
                         "2026-03-28T12:00:00", true},
        DayMembershipRow{"ShortDayWhenNowIsJustPastIt", "2026-03-30T00:30:00",
                         "2026-03-29T12:00:00", false}),
    rowName<DayMembershipRow>);

TEST(DateTest, TodayFollowsTheSharedClock)
{
    TestEnvironment env("Europe/Madrid");
    env.clock().setNow(TestEnvironment::localTime(QStringLiteral("2026-06-15T09:00:00")));
    const Date morning = Date::now();
    EXPECT_EQ(morning.timeIntervalSinceReferenceDate(), env.clock().now());
    EXPECT_TRUE(morning.isToday());
    EXPECT_FALSE(morning.isYesterday());

    env.clock().advance(Date::dayInterval);
    EXPECT_FALSE(morning.isToday());
    EXPECT_TRUE(morning.isYesterday());

    env.clock().advance(Date::dayInterval);
    EXPECT_FALSE(morning.isToday());
    EXPECT_FALSE(morning.isYesterday());
}

struct PeriodRow {
    const char* name;
    const char* start;
    const char* end;
    std::vector<const char*> expected;
};

void PrintTo(const PeriodRow& row, std::ostream* os)
{
    *os << row.name;
}

class ReportPeriodTest : public ::testing::TestWithParam<PeriodRow> {
protected:
    TestEnvironment env{"Europe/Madrid"};
};

TEST_P(ReportPeriodTest, DatesStepWholeDaysFromTheStart)
{
    const PeriodRow& row = GetParam();
    const ReportPeriod period(local(row.start), local(row.end));
    EXPECT_EQ(period.startDate(), local(row.start));
    EXPECT_EQ(period.endDate(), local(row.end));

    QList<Date> expected;
    for (const char* d : row.expected)
        expected.append(local(d));
    const QList<Date> dates = period.dates();
    ASSERT_EQ(dates.size(), expected.size());
    for (qsizetype i = 0; i < dates.size(); ++i)
        EXPECT_EQ(dates[i], expected[i]) << "entry " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReportPeriodTest,
    ::testing::Values(
        PeriodRow{"MondayToSundayOfTheSameWeek",
                  "2026-06-15T00:00:00",
                  "2026-06-21T00:00:00",
                  {"2026-06-15T00:00:00", "2026-06-16T00:00:00", "2026-06-17T00:00:00",
                   "2026-06-18T00:00:00", "2026-06-19T00:00:00", "2026-06-20T00:00:00",
                   "2026-06-21T00:00:00"}},
        PeriodRow{"EndEarlierOnTheSameDay",
                  "2026-06-15T15:00:00",
                  "2026-06-15T09:00:00",
                  {"2026-06-15T15:00:00"}},
        PeriodRow{"EndAWeekBeforeTheStart",
                  "2026-06-15T10:00:00",
                  "2026-06-08T10:00:00",
                  {"2026-06-15T10:00:00"}},
        // The last entry falls after the end's time of day but within its day.
        PeriodRow{"KeepsTheStartsTimeOfDay",
                  "2026-06-15T15:00:00",
                  "2026-06-17T09:00:00",
                  {"2026-06-15T15:00:00", "2026-06-16T15:00:00", "2026-06-17T15:00:00"}},
        PeriodRow{"EntryOnTheEndDaysLastSecondIsIncluded",
                  "2026-06-14T23:59:59",
                  "2026-06-15T08:00:00",
                  {"2026-06-14T23:59:59", "2026-06-15T23:59:59"}},
        PeriodRow{"EntryWithinTheEndDaysLastSecondIsNot",
                  "2026-06-14T23:59:59.5",
                  "2026-06-15T08:00:00",
                  {"2026-06-14T23:59:59.5"}},
        // Whole local days: the clock time stays, however long the day.
        PeriodRow{"AcrossSpringChange",
                  "2026-03-27T10:00:00",
                  "2026-03-31T00:00:00",
                  {"2026-03-27T10:00:00", "2026-03-28T10:00:00", "2026-03-29T10:00:00",
                   "2026-03-30T10:00:00", "2026-03-31T10:00:00"}},
        PeriodRow{"AcrossAutumnChange",
                  "2026-10-24T00:00:00",
                  "2026-10-27T00:00:00",
                  {"2026-10-24T00:00:00", "2026-10-25T00:00:00", "2026-10-26T00:00:00",
                   "2026-10-27T00:00:00"}},
        PeriodRow{"LateStartKeepsTheShortDay",
                  "2026-03-28T23:30:00",
                  "2026-03-30T12:00:00",
                  {"2026-03-28T23:30:00", "2026-03-29T23:30:00", "2026-03-30T23:30:00"}},
        // 02:30 does not exist on the short day: that day's entry is just after the gap.
        PeriodRow{"TimeInTheGapMovesPastIt",
                  "2026-03-28T02:30:00",
                  "2026-03-30T00:00:00",
                  {"2026-03-28T02:30:00", "2026-03-29T03:30:00", "2026-03-30T02:30:00"}}),
    rowName<PeriodRow>);

} // namespace
