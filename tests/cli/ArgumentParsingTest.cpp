#include <optional>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "CommandArguments.h"
#include "TimeArgument.h"
#include "ValueArgument.h"
#include "support/TestEnvironment.h"

namespace {

// Expected values are written out in seconds since 2001-01-01T00:00:00Z rather than derived
// with the code under test.
struct TimeRow {
    const char* name;
    const char* text;
    std::optional<double> expected;
};

void PrintTo(const TimeRow& row, std::ostream* os)
{
    *os << row.name;
}

class InstantArgument : public ::testing::TestWithParam<TimeRow> {
protected:
    TestEnvironment env{"Europe/Madrid"};
};

TEST_P(InstantArgument, ParsesOrRefuses)
{
    const TimeRow& row = GetParam();
    QString error;
    const std::optional<Date> parsed = TimeArgument::instant(QString::fromUtf8(row.text), error);
    if (row.expected) {
        ASSERT_TRUE(parsed.has_value()) << error.toStdString();
        EXPECT_DOUBLE_EQ(parsed->timeIntervalSinceReferenceDate(), *row.expected);
    } else {
        EXPECT_FALSE(parsed.has_value());
        EXPECT_FALSE(error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InstantArgument,
    ::testing::Values(TimeRow{"HalfSecondBeforeMidnightSummer", "2026-03-29T23:59:59.5",
                              796514399.5},
                      TimeRow{"FirstSummerSecond", "2026-03-29T03:00:00", 796438800.0},
                      TimeRow{"LastWinterSecond", "2026-03-29T01:59:59", 796438799.0},
                      TimeRow{"MillisecondFraction", "2026-07-01T12:00:00.125", 804592800.125},
                      TimeRow{"CommaFraction", "2026-07-01T12:00:00,125", 804592800.125},
                      TimeRow{"SpaceSeparator", "2026-07-01 12:00:00.125", 804592800.125},
                      TimeRow{"NoSeconds", "2026-07-01T12:00", 804592800.0},
                      TimeRow{"LongFraction", "2026-07-01T12:00:00.1250000000001", 804592800.125},
                      TimeRow{"Utc", "2026-01-15T10:00:00Z", 790164000.0},
                      TimeRow{"ReferenceInstant", "2001-01-01T00:00:00Z", 0.0},
                      TimeRow{"PositiveOffset", "2026-01-15T10:00:00+05:30", 790144200.0},
                      TimeRow{"CompactNegativeOffset", "2026-01-15T10:00:00-0800", 790192800.0},
                      TimeRow{"HoursOnlyOffset", "2026-01-15T10:00:00+00", 790164000.0},
                      TimeRow{"SkippedByDaylightSaving", "2026-03-29T02:30", std::nullopt},
                      TimeRow{"StartOfSkippedHour", "2026-03-29T02:00:00", std::nullopt},
                      TimeRow{"Empty", "", std::nullopt},
                      TimeRow{"DayOnly", "2026-03-29", std::nullopt},
                      TimeRow{"Words", "tomorrow", std::nullopt},
                      TimeRow{"February30", "2026-02-30T10:00:00", std::nullopt},
                      TimeRow{"Month13", "2026-13-01T10:00:00", std::nullopt},
                      TimeRow{"YearZero", "0000-01-01T00:00:00", std::nullopt},
                      TimeRow{"Hour24", "2026-01-15T24:00:00", std::nullopt},
                      TimeRow{"Minute60", "2026-01-15T10:60:00", std::nullopt},
                      TimeRow{"LeapSecond", "2026-01-15T10:00:60", std::nullopt},
                      TimeRow{"EmptyFraction", "2026-01-15T10:00:00.", std::nullopt},
                      TimeRow{"ShortMonth", "2026-1-15T10:00:00", std::nullopt},
                      TimeRow{"LeadingSpace", " 2026-01-15T10:00:00", std::nullopt},
                      TimeRow{"OffsetHours", "2026-01-15T10:00:00+25:00", std::nullopt},
                      TimeRow{"OffsetMinutes", "2026-01-15T10:00:00+05:75", std::nullopt},
                      TimeRow{"FullwidthDigits", "２０２６-01-15T10:00:00", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ZonedTimeRow {
    const char* name;
    const char* zone;
    const char* text;
    std::optional<double> expected;
};

void PrintTo(const ZonedTimeRow& row, std::ostream* os)
{
    *os << row.name;
}

// Each row pins its own zone: a time the clocks pass twice is the first of the two in every
// zone, and one they skip is refused.
class ClockChangeInstant : public ::testing::TestWithParam<ZonedTimeRow> {};

TEST_P(ClockChangeInstant, TakesTheFirstOccurrenceOrRefuses)
{
    const ZonedTimeRow& row = GetParam();
    TestEnvironment env(row.zone);
    QString error;
    const std::optional<Date> parsed = TimeArgument::instant(QString::fromUtf8(row.text), error);
    if (row.expected) {
        ASSERT_TRUE(parsed.has_value()) << error.toStdString();
        EXPECT_DOUBLE_EQ(parsed->timeIntervalSinceReferenceDate(), *row.expected);
    } else {
        EXPECT_FALSE(parsed.has_value()) << parsed->timeIntervalSinceReferenceDate();
        EXPECT_TRUE(error.contains(QStringLiteral("does not exist"))) << error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockChangeInstant,
    ::testing::Values(
        // 00:30Z, still summer time; the second 02:30 would be 01:30Z.
        ZonedTimeRow{"MadridFallBack", "Europe/Madrid", "2026-10-25T02:30", 814581000.0},
        ZonedTimeRow{"MadridFallBackLastSecond", "Europe/Madrid", "2026-10-25T02:59:59",
                     814582799.0},
        // 05:30Z, still daylight time; the second 01:30 would be 06:30Z.
        ZonedTimeRow{"NewYorkFallBack", "America/New_York", "2026-11-01T01:30", 815203800.0},
        ZonedTimeRow{"NewYorkAfterFallBack", "America/New_York", "2026-11-01T02:00", 815209200.0},
        // Half an hour back: 01:45 at +11:00 comes before 01:45 at +10:30.
        ZonedTimeRow{"LordHoweFallBack", "Australia/Lord_Howe", "2026-04-05T01:45", 797006700.0},
        ZonedTimeRow{"MadridSpringGap", "Europe/Madrid", "2026-03-29T02:30", std::nullopt},
        ZonedTimeRow{"NewYorkSpringGap", "America/New_York", "2026-03-08T02:30", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

class DayArgument : public ::testing::TestWithParam<TimeRow> {
protected:
    TestEnvironment env{"Europe/Madrid"};
};

TEST_P(DayArgument, ParsesOrRefuses)
{
    const TimeRow& row = GetParam();
    QString error;
    const std::optional<Date> parsed = TimeArgument::day(QString::fromUtf8(row.text), error);
    if (row.expected) {
        ASSERT_TRUE(parsed.has_value()) << error.toStdString();
        EXPECT_DOUBLE_EQ(parsed->timeIntervalSinceReferenceDate(), *row.expected);
    } else {
        EXPECT_FALSE(parsed.has_value());
        EXPECT_FALSE(error.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, DayArgument,
                         ::testing::Values(TimeRow{"DaylightSavingDay", "2026-03-29", 796431600.0},
                                           TimeRow{"LeapDay", "2024-02-29", 730854000.0},
                                           TimeRow{"BeforeReference", "2001-01-01", -3600.0},
                                           TimeRow{"NotLeapYear", "2026-02-29", std::nullopt},
                                           TimeRow{"WithTime", "2026-03-29T00:00", std::nullopt},
                                           TimeRow{"Slashes", "29/03/2026", std::nullopt},
                                           TimeRow{"ShortMonth", "2026-3-29", std::nullopt},
                                           TimeRow{"Empty", "", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

// Chile moves its clocks at midnight: that day begins at 01:00.
TEST(DayArgumentSkippedMidnight, BeginsAtTheFirstExistingInstant)
{
    TestEnvironment env("America/Santiago");
    QString error;
    const std::optional<Date> parsed = TimeArgument::day(QStringLiteral("2026-09-06"), error);
    ASSERT_TRUE(parsed.has_value()) << error.toStdString();
    EXPECT_DOUBLE_EQ(parsed->timeIntervalSinceReferenceDate(), 810360000.0);
}

TEST(ValueArgumentTest, NumbersAreDigitsWithinTheirRange)
{
    struct Row {
        const char* text;
        std::optional<std::int32_t> seconds;
        std::optional<std::int32_t> count;
    };
    const Row rows[] = {
        {"0", 0, std::nullopt},
        {"1500", 1500, 1500},
        {"2147483647", 2147483647, 2147483647},
        {"2147483648", std::nullopt, std::nullopt},
        {"99999999999999999999999", std::nullopt, std::nullopt},
        {"-5", std::nullopt, std::nullopt},
        {"+5", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1e3", std::nullopt, std::nullopt},
        {"1.5", std::nullopt, std::nullopt},
        {" 5", std::nullopt, std::nullopt},
        {"٣", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        const QString text = QString::fromUtf8(row.text);
        QString error;
        EXPECT_EQ(ValueArgument::seconds(text, error), row.seconds) << row.text;
        EXPECT_EQ(row.seconds.has_value(), error.isEmpty()) << row.text;
        error.clear();
        EXPECT_EQ(ValueArgument::count(text, error), row.count) << row.text;
        EXPECT_EQ(row.count.has_value(), error.isEmpty()) << row.text;
    }
}

TEST(ValueArgumentTest, TaskDurationsRunFromOneSecondToADay)
{
    const std::pair<const char*, std::optional<std::int32_t>> rows[] = {
        {"0", std::nullopt},     {"1", 1},
        {"1500", 1500},          {"86400", 86400},
        {"86401", std::nullopt}, {"2147483647", std::nullopt},
        {"-1", std::nullopt},
    };
    for (const auto& [text, expected] : rows) {
        QString error;
        EXPECT_EQ(ValueArgument::taskDuration(QString::fromLatin1(text), error), expected) << text;
        EXPECT_EQ(expected.has_value(), error.isEmpty()) << text;
    }
}

TEST(ValueArgumentTest, TaskNamesAreTrimmedAndHoldNoControlCharacters)
{
    const std::pair<QString, std::optional<QString>> rows[] = {
        {QStringLiteral("Write"), QStringLiteral("Write")},
        {QStringLiteral("  Write report \t"), QStringLiteral("Write report")},
        {QStringLiteral("-dash"), QStringLiteral("-dash")},
        {QString::fromUtf8("Caf\u00e9 \u2615"), QString::fromUtf8("Caf\u00e9 \u2615")},
        {QString(), std::nullopt},
        {QStringLiteral("   "), std::nullopt},
        {QStringLiteral("\t\n"), std::nullopt},
        {QStringLiteral("Write\treport"), std::nullopt},
        {QStringLiteral("Write\nreport"), std::nullopt},
        {QStringLiteral("Bell\a"), std::nullopt},
        {QStringLiteral("Esc\x1b[31m"), std::nullopt},
        {QString::fromUtf8("Line\u2028break"), std::nullopt},
    };
    for (const auto& [text, expected] : rows) {
        QString error;
        EXPECT_EQ(ValueArgument::taskName(text, error), expected) << text.toStdString();
        EXPECT_EQ(expected.has_value(), error.isEmpty()) << text.toStdString();
    }
}

TEST(ValueArgumentTest, ColoursAreSixHexDigitsInLowerCase)
{
    QString error;
    EXPECT_EQ(ValueArgument::color(QStringLiteral("#59B6e8"), error), QStringLiteral("#59b6e8"));
    for (const char* bad : {"59b6e8", "#59b6e", "#59b6e80", "#59b6eg", "", "#"})
        EXPECT_FALSE(ValueArgument::color(QString::fromLatin1(bad), error)) << bad;
}

struct ShapeRow {
    const char* name;
    QStringList words;
    // Empty when the words must be refused.
    QStringList positionals;
    std::optional<QString> start;
    std::optional<QString> task;
};

void PrintTo(const ShapeRow& row, std::ostream* os)
{
    *os << row.name;
}

class CommandArgumentsTest : public ::testing::TestWithParam<ShapeRow> {};

// Shaped like add-task-info with a required and an optional option.
TEST_P(CommandArgumentsTest, SplitsOrRefuses)
{
    const ShapeRow& row = GetParam();
    const CommandArguments::Shape shape{
        1, 1, {QStringLiteral("--start")}, {QStringLiteral("--task")}};
    QString error;
    const std::optional<CommandArguments> parsed = CommandArguments::parse(row.words, shape, error);
    if (row.positionals.isEmpty()) {
        EXPECT_FALSE(parsed.has_value());
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    ASSERT_TRUE(parsed.has_value()) << error.toStdString();
    EXPECT_EQ(parsed->positionals(), row.positionals);
    EXPECT_EQ(parsed->option(QStringLiteral("--start")), row.start);
    EXPECT_EQ(parsed->option(QStringLiteral("--task")), row.task);
}

const QString s1 = QStringLiteral("1");

INSTANTIATE_TEST_SUITE_P(
    Rows, CommandArgumentsTest,
    ::testing::Values(
        ShapeRow{"SeparateValue", {"a", "--start", "1"}, {"a"}, s1, std::nullopt},
        ShapeRow{"EqualsValue", {"--start=1", "a", "b"}, {"a", "b"}, s1, std::nullopt},
        ShapeRow{"EmptyEqualsValue", {"--start=", "a"}, {"a"}, QString(), std::nullopt},
        ShapeRow{"DashValue",
                 {"a", "--start", "-5", "--task", "--x"},
                 {"a"},
                 QStringLiteral("-5"),
                 QStringLiteral("--x")},
        ShapeRow{"AfterDoubleDash", {"--start", "1", "--", "--task"}, {"--task"}, s1, std::nullopt},
        // Once the positionals are all there, options count again.
        ShapeRow{"OptionsAfterDashedPositionals",
                 {"--", "-a", "-b", "--task", "t", "--start", "1"},
                 {"-a", "-b"},
                 s1,
                 QStringLiteral("t")},
        // Until then, they are positionals whatever they look like.
        ShapeRow{"DashedWordsFillThePositionals",
                 {"--start", "1", "--", "-a", "--task"},
                 {"-a", "--task"},
                 s1,
                 std::nullopt},
        ShapeRow{"LoneDash", {"-", "--start", "1"}, {"-"}, s1, std::nullopt},
        ShapeRow{"MissingRequiredOption", {"a"}, {}, std::nullopt, std::nullopt},
        ShapeRow{"MissingValue", {"a", "--start"}, {}, std::nullopt, std::nullopt},
        ShapeRow{"RepeatedOption",
                 {"a", "--start", "1", "--start", "2"},
                 {},
                 std::nullopt,
                 std::nullopt},
        ShapeRow{
            "UnknownOption", {"a", "--start", "1", "--stop", "2"}, {}, std::nullopt, std::nullopt},
        ShapeRow{"ShortOption", {"a", "--start", "1", "-t"}, {}, std::nullopt, std::nullopt},
        ShapeRow{"MissingPositional", {"--start", "1"}, {}, std::nullopt, std::nullopt},
        ShapeRow{
            "ExtraPositional", {"a", "b", "c", "--start", "1"}, {}, std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
