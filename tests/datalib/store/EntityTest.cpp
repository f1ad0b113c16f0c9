#include <algorithm>
#include <optional>
#include <ostream>

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include "store/Goal.h"
#include "store/Pomodoro.h"
#include "store/Session.h"
#include "store/TaskInfo.h"
#include "store/TaskInfoParameter.h"
#include "store/TaskParameter.h"
#include "support/ManualClock.h"
#include "support/TestEnvironment.h"

namespace {

template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

struct ColorRow {
    const char* name;
    TaskInfo::Colors color;
    const char* raw;
};

// Failed rows are reported by name rather than as raw bytes.
void PrintTo(const ColorRow& row, std::ostream* os)
{
    *os << row.name;
}

class TaskInfoColorTest : public ::testing::TestWithParam<ColorRow> {};

TEST_P(TaskInfoColorTest, RawValueRoundTrips)
{
    const ColorRow& row = GetParam();
    EXPECT_EQ(TaskInfo::rawValue(row.color), QString::fromLatin1(row.raw));
    EXPECT_EQ(TaskInfo::colorFromRawValue(QString::fromLatin1(row.raw)), row.color);
}

INSTANTIATE_TEST_SUITE_P(Rows, TaskInfoColorTest,
                         ::testing::Values(ColorRow{"Red", TaskInfo::Colors::red, "#f72020"},
                                           ColorRow{"Orange", TaskInfo::Colors::orange, "#ffa044"},
                                           ColorRow{"Grass", TaskInfo::Colors::grass, "#82cf52"},
                                           ColorRow{"Aqua", TaskInfo::Colors::aqua, "#59b6e8"},
                                           ColorRow{"Lavander", TaskInfo::Colors::lavander,
                                                    "#ac92ec"},
                                           ColorRow{"Pink", TaskInfo::Colors::pink, "#fe2f68"}),
                         rowName<ColorRow>);

TEST(TaskInfoColors, DeclarationOrderFollowsThePalette)
{
    const QStringList palette = {"#f72020", "#ffa044", "#82cf52", "#59b6e8", "#ac92ec", "#fe2f68"};
    for (int i = 0; i < palette.size(); ++i)
        EXPECT_EQ(TaskInfo::rawValue(static_cast<TaskInfo::Colors>(i)), palette[i]) << i;
}

struct NoColorRow {
    const char* name;
    const char* raw;
};

void PrintTo(const NoColorRow& row, std::ostream* os)
{
    *os << row.name;
}

class TaskInfoNoColorTest : public ::testing::TestWithParam<NoColorRow> {};

TEST_P(TaskInfoNoColorTest, NeedsAnExactMatch)
{
    EXPECT_EQ(TaskInfo::colorFromRawValue(QString::fromLatin1(GetParam().raw)), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TaskInfoNoColorTest,
    ::testing::Values(NoColorRow{"UpperCase", "#F72020"}, NoColorRow{"WithoutHash", "f72020"},
                      NoColorRow{"LeadingSpace", " #f72020"},
                      NoColorRow{"TrailingSpace", "#f72020 "}, NoColorRow{"ShortForm", "#f72"},
                      NoColorRow{"ColourName", "red"}, NoColorRow{"OffPalette", "#000000"},
                      NoColorRow{"Empty", ""}),
    rowName<NoColorRow>);

TEST(TaskParameterTest, EveryFieldStartsAbsent)
{
    const TaskParameter p;
    EXPECT_FALSE(p.duration);
    EXPECT_FALSE(p.endTime);
    EXPECT_FALSE(p.freeTimeDuration);
    EXPECT_FALSE(p.goalAchieve);
    EXPECT_FALSE(p.sessionComplete);
    EXPECT_FALSE(p.startTime);
    EXPECT_FALSE(p.taskName);
}

TEST(TaskInfoParameterTest, CreatedAtIsTheMomentOfConstruction)
{
    TestEnvironment env;
    env.clock().setNow(800000000.25);
    const TaskInfoParameter first(QStringLiteral("Write"), QStringLiteral("#f72020"));
    env.clock().advance(3600);
    const TaskInfoParameter second(QStringLiteral("Read"), QStringLiteral("#59b6e8"));
    env.clock().advance(3600);

    EXPECT_EQ(first.createdAt.timeIntervalSinceReferenceDate(), 800000000.25);
    EXPECT_EQ(second.createdAt.timeIntervalSinceReferenceDate(), 800003600.25);
    EXPECT_EQ(first.name, QStringLiteral("Write"));
    EXPECT_EQ(first.color, QStringLiteral("#f72020"));
    EXPECT_FALSE(first.taskDescription);
}

Pomodoro pomodoro(double startTime, std::optional<QString> taskName = std::nullopt)
{
    Pomodoro p;
    p.startTime = startTime;
    p.endTime = startTime + 1500;
    p.duration = 1500;
    p.taskName = std::move(taskName);
    return p;
}

// A linked pomodoro keeps its task's name in taskInfoName; taskName stays absent.
Pomodoro linkedPomodoro(double startTime, const QString& task)
{
    Pomodoro p = pomodoro(startTime);
    p.hasTaskInfo = true;
    p.taskInfoName = task;
    return p;
}

struct PomodoroEqualityRow {
    const char* name;
    Pomodoro a;
    Pomodoro b;
    bool equal;
};

void PrintTo(const PomodoroEqualityRow& row, std::ostream* os)
{
    *os << row.name;
}

class PomodoroEqualityTest : public ::testing::TestWithParam<PomodoroEqualityRow> {};

TEST_P(PomodoroEqualityTest, ComparesOnlyTheStoredTaskName)
{
    const PomodoroEqualityRow& row = GetParam();
    EXPECT_EQ(row.a == row.b, row.equal);
    EXPECT_EQ(row.b == row.a, row.equal);
    EXPECT_EQ(row.a != row.b, !row.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PomodoroEqualityTest,
    ::testing::Values(
        PomodoroEqualityRow{"BothNamesAbsent", pomodoro(10), pomodoro(20), true},
        PomodoroEqualityRow{"AbsentAndPresent", pomodoro(10), pomodoro(10, "Write"), false},
        PomodoroEqualityRow{"EmptyIsNotAbsent", pomodoro(10, ""), pomodoro(10), false},
        PomodoroEqualityRow{"SameNameAtDifferentTimes", pomodoro(10, "Write"),
                            pomodoro(9000, "Write"), true},
        PomodoroEqualityRow{"DifferentNamesAtTheSameTime", pomodoro(10, "Write"),
                            pomodoro(10, "Read"), false},
        PomodoroEqualityRow{"NamesDifferingInCase", pomodoro(10, "Write"), pomodoro(10, "write"),
                            false},
        PomodoroEqualityRow{"LinkedToDifferentTasks", linkedPomodoro(10, "Write"),
                            linkedPomodoro(20, "Read"), true},
        PomodoroEqualityRow{"LinkedAndNamed", linkedPomodoro(10, "Write"), pomodoro(10, "Write"),
                            false}),
    rowName<PomodoroEqualityRow>);

TEST(PomodoroTest, FindReturnsTheFirstWithTheSameStoredName)
{
    const QList<Pomodoro> list = {pomodoro(1, "Read"), linkedPomodoro(2, "Write"),
                                  pomodoro(3, "Write"), pomodoro(4, "Write"), pomodoro(5)};

    const auto named = std::find(list.begin(), list.end(), pomodoro(99, "Write"));
    ASSERT_NE(named, list.end());
    EXPECT_EQ(named->startTime, 3);

    const auto unnamed = std::find(list.begin(), list.end(), pomodoro(99));
    ASSERT_NE(unnamed, list.end());
    EXPECT_EQ(unnamed->startTime, 2);

    EXPECT_EQ(std::find(list.begin(), list.end(), pomodoro(99, "Walk")), list.end());
}

// Each entity ordered by its own moment: the start, the finish, the achievement.
template <typename T> T entityAt(double moment);
template <> Pomodoro entityAt<Pomodoro>(double moment)
{
    return pomodoro(moment);
}
template <> Session entityAt<Session>(double moment)
{
    Session s;
    s.finishedAt = moment;
    return s;
}
template <> Goal entityAt<Goal>(double moment)
{
    Goal g;
    g.achieveAt = moment;
    return g;
}

double momentOf(const Pomodoro& p)
{
    return p.startTime;
}
double momentOf(const Session& s)
{
    return s.finishedAt;
}
double momentOf(const Goal& g)
{
    return g.achieveAt;
}

template <typename T> class ChronologicalOrderTest : public ::testing::Test {};
using ChronologicalEntities = ::testing::Types<Pomodoro, Session, Goal>;
TYPED_TEST_SUITE(ChronologicalOrderTest, ChronologicalEntities);

TYPED_TEST(ChronologicalOrderTest, RelationsDeriveFromTheMoment)
{
    const TypeParam earlier = entityAt<TypeParam>(100);
    const TypeParam later = entityAt<TypeParam>(200);
    const TypeParam alsoEarlier = entityAt<TypeParam>(100);

    EXPECT_TRUE(earlier < later);
    EXPECT_FALSE(later < earlier);
    EXPECT_FALSE(earlier < alsoEarlier);

    EXPECT_TRUE(earlier <= later);
    EXPECT_FALSE(later <= earlier);
    EXPECT_TRUE(earlier <= alsoEarlier);

    EXPECT_TRUE(later > earlier);
    EXPECT_FALSE(earlier > later);
    EXPECT_FALSE(earlier > alsoEarlier);

    EXPECT_TRUE(later >= earlier);
    EXPECT_FALSE(earlier >= later);
    EXPECT_TRUE(earlier >= alsoEarlier);
}

TYPED_TEST(ChronologicalOrderTest, SortingGivesChronologicalOrder)
{
    QList<TypeParam> list;
    for (double moment : {500.0, -20.0, 300.0, 100.0, 400.0})
        list.append(entityAt<TypeParam>(moment));
    std::sort(list.begin(), list.end());

    QList<double> moments;
    for (const TypeParam& e : list)
        moments.append(momentOf(e));
    EXPECT_EQ(moments, (QList<double>{-20.0, 100.0, 300.0, 400.0, 500.0}));
}

template <typename T> class MomentEqualityTest : public ::testing::Test {};
using MomentEqualEntities = ::testing::Types<Session, Goal>;
TYPED_TEST_SUITE(MomentEqualityTest, MomentEqualEntities);

TYPED_TEST(MomentEqualityTest, EqualWhenTheMomentIsTheSame)
{
    TypeParam a = entityAt<TypeParam>(100);
    a.tasksCount = 4;
    a.cloudRecordID = QStringLiteral("A");
    TypeParam b = entityAt<TypeParam>(100);
    b.tasksCount = 8;
    const TypeParam c = entityAt<TypeParam>(100.5);

    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a != b);
    EXPECT_FALSE(a == c);
    EXPECT_TRUE(a != c);
}

} // namespace
