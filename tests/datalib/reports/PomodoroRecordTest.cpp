#include <gtest/gtest.h>

#include "reports/PomodoroRecord.h"
#include "support/TestEnvironment.h"

namespace {

struct DurationRow {
    const char* name;
    qint64 seconds;
    const char* plain;
    const char* strong;
};

void PrintTo(const DurationRow& row, std::ostream* os)
{
    *os << row.name;
}

class DurationTest : public ::testing::TestWithParam<DurationRow> {};

TEST_P(DurationTest, WholeHoursAndMinutes)
{
    const DurationRow& row = GetParam();
    const PomodoroRecord record(QStringLiteral("Write"), 1, row.seconds);
    EXPECT_EQ(record.formattedHTMLDuration(), QString::fromUtf8(row.plain));
    EXPECT_EQ(formattedHTMLDuration(QList<PomodoroRecord>{record}), QString::fromUtf8(row.strong));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DurationTest,
    ::testing::Values(
        DurationRow{"UnderAMinuteIsEmpty", 59, "", ""},
        DurationRow{"OneMinute", 60, "1 <small>m</small>", "<strong>1 <small>m</small></strong>"},
        DurationRow{"OneHour", 3600, "1 <small>h</small>", "<strong>1 <small>h</small></strong>"},
        DurationRow{"HourAndMinute", 3660, "1 <small>h</small> 1 <small>m</small>",
                    "1 <small>h</small> 1 <small>m</small>"},
        DurationRow{"HourAndAHalf", 5400, "1 <small>h</small> 30 <small>m</small>",
                    "1 <small>h</small> 30 <small>m</small>"},
        DurationRow{"ManyHoursLeftoverSeconds", 36059, "10 <small>h</small>",
                    "<strong>10 <small>h</small></strong>"}),
    [](const ::testing::TestParamInfo<DurationRow>& info) { return info.param.name; });

TEST(PomodoroRecordTest, ListOperationsSumTheRecords)
{
    const QList<PomodoroRecord> records = {PomodoroRecord(QStringLiteral("A"), 2, 1800),
                                           PomodoroRecord(QStringLiteral("B"), 3, 1800)};
    EXPECT_EQ(iterations(records), 5);
    EXPECT_EQ(formattedHTMLDuration(records),
              QStringLiteral("<strong>1 <small>h</small></strong>"));
    EXPECT_EQ(iterations(QList<PomodoroRecord>{}), 0);
    EXPECT_EQ(formattedHTMLDuration(QList<PomodoroRecord>{}), QString());
}

TEST(PomodoroRecordTest, SameNameIsTheSameRecordAndIterationsRank)
{
    const PomodoroRecord a(QStringLiteral("Write"), 1, 60);
    const PomodoroRecord b(QStringLiteral("Write"), 9, 600);
    const PomodoroRecord c(QStringLiteral("Read"), 5);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_TRUE(a < c);
    EXPECT_TRUE(c < b);
    EXPECT_EQ(PomodoroRecord(QStringLiteral("x")).iterations, 0);
    EXPECT_EQ(PomodoroRecord(QStringLiteral("x")).duration, 0);
}

} // namespace
