#include <algorithm>
#include <ostream>

#include <gtest/gtest.h>

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "datalib/store/StoreFixture.h"

namespace {

using Answer = RecordingCloudSync::Answer;

QList<double> finishTimes(const std::optional<QList<Session>>& sessions)
{
    QList<double> times;
    if (sessions) {
        for (const Session& s : *sessions)
            times.append(s.finishedAt);
    }
    std::sort(times.begin(), times.end());
    return times;
}

template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

class SessionGoalRecordsTest : public StoreFixture {};

TEST_F(SessionGoalRecordsTest, SessionsOfADayIncludeBothOfItsEnds)
{
    for (const char* t : {"2026-06-09T23:59:59", "2026-06-10T00:00:00", "2026-06-10T12:00:00",
                          "2026-06-10T23:59:59", "2026-06-11T00:00:00"})
        store->addSession(at(t), 4);

    const QList<double> expected = {at("2026-06-10T00:00:00"), at("2026-06-10T12:00:00"),
                                    at("2026-06-10T23:59:59")};
    EXPECT_EQ(finishTimes(store->sessionsForDate(day("2026-06-10T00:00:00"))), expected);
    EXPECT_EQ(finishTimes(store->sessionsForDate(day("2026-06-10T23:59:59"))), expected);
    EXPECT_EQ(store->sessionsFinished(day("2026-06-10T08:00:00")), 3);
    EXPECT_EQ(store->sessionsFinished(day("2026-06-09T08:00:00")), 1);
    EXPECT_EQ(store->sessionsFinished(day("2026-06-12T08:00:00")), 0);
}

TEST_F(SessionGoalRecordsTest, SessionsOverSeveralDays)
{
    for (const char* t : {"2026-06-07T23:59:59", "2026-06-08T00:00:00", "2026-06-08T18:00:00",
                          "2026-06-09T10:00:00", "2026-06-10T23:59:59", "2026-06-11T00:00:00"})
        store->addSession(at(t), 4);

    EXPECT_EQ(finishTimes(store->sessions(day("2026-06-08T15:00:00"), day("2026-06-10T09:00:00"))),
              (QList<double>{at("2026-06-08T00:00:00"), at("2026-06-08T18:00:00"),
                             at("2026-06-09T10:00:00"), at("2026-06-10T23:59:59")}));
    EXPECT_TRUE(store->sessions(day("2026-06-12T12:00:00"), day("2026-06-14T12:00:00"))->isEmpty());
}

struct GoalBoundRow {
    const char* name;
    const char* achievedAt;
    bool found;
};

void PrintTo(const GoalBoundRow& row, std::ostream* os)
{
    *os << row.name;
}

class GoalForDateTest : public SessionGoalRecordsTest,
                        public ::testing::WithParamInterface<GoalBoundRow> {};

// Unlike sessions, a day's goal query leaves out both of the day's ends.
TEST_P(GoalForDateTest, FindsOnlyGoalsStrictlyInsideTheDay)
{
    const GoalBoundRow& row = GetParam();
    store->addGoal(at(row.achievedAt), 8);

    const auto goal = store->goalForDate(day("2026-06-10T12:00:00"));
    ASSERT_EQ(goal.has_value(), row.found);
    if (goal) {
        EXPECT_EQ(goal->achieveAt, at(row.achievedAt));
        EXPECT_EQ(goal->tasksCount, 8);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GoalForDateTest,
    ::testing::Values(GoalBoundRow{"PreviousDayLastSecond", "2026-06-09T23:59:59", false},
                      GoalBoundRow{"Midnight", "2026-06-10T00:00:00", false},
                      GoalBoundRow{"OneSecondAfterMidnight", "2026-06-10T00:00:01", true},
                      GoalBoundRow{"Noon", "2026-06-10T12:00:00", true},
                      GoalBoundRow{"SecondBeforeLastSecond", "2026-06-10T23:59:58", true},
                      GoalBoundRow{"LastSecond", "2026-06-10T23:59:59", false},
                      GoalBoundRow{"NextMidnight", "2026-06-11T00:00:00", false}),
    rowName<GoalBoundRow>);

TEST_F(SessionGoalRecordsTest, NewSessionsAndGoalsGoToTheCloudAndTakeTheirRecordNames)
{
    const double sessionAt = at("2026-06-10T11:00:00");
    const double goalAt = at("2026-06-10T11:30:00");
    store->addSession(sessionAt, 4);
    store->addGoal(goalAt, 8);

    EXPECT_EQ(cloud->calls(),
              (QStringList{QStringLiteral("saveSession %1 %2").arg(sessionAt).arg(4),
                           QStringLiteral("saveGoal %1 %2").arg(goalAt).arg(8)}));
    settle();

    const auto sessions = store->sessionsForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->size(), 1);
    EXPECT_EQ(sessions->first().tasksCount, 4);
    EXPECT_EQ(sessions->first().cloudRecordID, QStringLiteral("record-1"));
    const auto goal = store->goalForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(goal);
    EXPECT_EQ(goal->cloudRecordID, QStringLiteral("record-2"));
    EXPECT_TRUE(store->unsyncedSessions()->isEmpty());
    EXPECT_TRUE(store->unsyncedGoals()->isEmpty());
}

TEST_F(SessionGoalRecordsTest, FailedCloudSavesLeaveNoRecordName)
{
    for (Answer answer : {Answer::networkFailure, Answer::otherFailure}) {
        cloud->answer = answer;
        store->addSession(at("2026-06-10T11:00:00"), 4);
        store->addGoal(at("2026-06-10T11:30:00"), 8);
    }
    settle();

    EXPECT_EQ(cloud->calls().size(), 4);
    EXPECT_EQ(store->unsyncedSessions()->size(), 2);
    EXPECT_EQ(store->unsyncedGoals()->size(), 2);
}

TEST_F(SessionGoalRecordsTest, RecordsOfTheSameInstantEachTakeTheirOwnRecordName)
{
    const double t = at("2026-06-10T11:00:00");
    store->addSession(t, 2);
    store->addSession(t, 3);
    store->addGoal(t, 8);
    store->addGoal(t, 9);
    settle();

    QSet<QString> names;
    const auto sessions = store->sessionsForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->size(), 2);
    for (const Session& s : *sessions) {
        ASSERT_TRUE(s.cloudRecordID);
        names.insert(*s.cloudRecordID);
    }
    const auto goals = store->goals(day("2026-06-10T12:00:00"), day("2026-06-10T12:00:00"));
    ASSERT_TRUE(goals);
    ASSERT_EQ(goals->size(), 2);
    for (const Goal& g : *goals) {
        ASSERT_TRUE(g.cloudRecordID);
        names.insert(*g.cloudRecordID);
    }
    EXPECT_EQ(names, (QSet<QString>{"record-1", "record-2", "record-3", "record-4"}));
}

TEST_F(SessionGoalRecordsTest, AssigningARecordNameWithoutAMatchingRowDoesNothing)
{
    store->addSession(Date(at("2026-06-10T11:00:00")), 4, QStringLiteral("remote-s"));
    store->addGoal(Date(at("2026-06-10T11:30:00")), 8, QStringLiteral("remote-g"));

    // No row at that instant, then a row at that instant that already has its name.
    store->updateSession(QStringLiteral("late-s"), day("2026-06-10T11:00:01"));
    store->updateGoal(QStringLiteral("late-g"), day("2026-06-10T11:30:01"));
    store->updateSession(QStringLiteral("late-s"), day("2026-06-10T11:00:00"));
    store->updateGoal(QStringLiteral("late-g"), day("2026-06-10T11:30:00"));

    EXPECT_EQ(store->sessionsForDate(day("2026-06-10T12:00:00"))->first().cloudRecordID,
              QStringLiteral("remote-s"));
    EXPECT_EQ(store->goalForDate(day("2026-06-10T12:00:00"))->cloudRecordID,
              QStringLiteral("remote-g"));
    EXPECT_FALSE(store->hasChanges());
    EXPECT_TRUE(consoleLines.isEmpty()) << consoleLines.join(QLatin1Char('\n')).toStdString();
}

TEST_F(SessionGoalRecordsTest, RemoteRecordsKeepTheirNamesAndSendNothing)
{
    store->addSession(day("2026-06-10T11:00:00"), 4, QStringLiteral("remote-s"));
    store->addGoal(day("2026-06-10T11:30:00"), 8, QStringLiteral("remote-g"));
    settle();

    const auto sessions = store->sessionsForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(sessions);
    ASSERT_EQ(sessions->size(), 1);
    EXPECT_EQ(sessions->first().finishedAt, at("2026-06-10T11:00:00"));
    EXPECT_EQ(sessions->first().tasksCount, 4);
    EXPECT_EQ(sessions->first().cloudRecordID, QStringLiteral("remote-s"));
    const auto goal = store->goalForDate(day("2026-06-10T12:00:00"));
    ASSERT_TRUE(goal);
    EXPECT_EQ(goal->achieveAt, at("2026-06-10T11:30:00"));
    EXPECT_EQ(goal->tasksCount, 8);
    EXPECT_EQ(goal->cloudRecordID, QStringLiteral("remote-g"));
    EXPECT_TRUE(cloud->calls().isEmpty());
}

struct ClockChangeRow {
    const char* name;
    const char* day;
    const char* nextDay;
};

void PrintTo(const ClockChangeRow& row, std::ostream* os)
{
    *os << row.name;
}

class ClockChangeDayTest : public SessionGoalRecordsTest,
                           public ::testing::WithParamInterface<ClockChangeRow> {};

// Days of 23 and 25 hours end at their own local midnight, not 24 hours after the start.
TEST_P(ClockChangeDayTest, LateSessionBelongsToItsOwnDay)
{
    const QString day = QString::fromLatin1(GetParam().day);
    const QString nextDay = QString::fromLatin1(GetParam().nextDay);
    auto local = [](const QString& iso) { return TestEnvironment::localTime(iso); };
    const double first = local(day + QStringLiteral("T00:00:00"));
    const double late = local(day + QStringLiteral("T23:30:00"));
    const double next = local(nextDay + QStringLiteral("T00:00:00"));
    for (double t : {first, late, next})
        store->addSession(t, 4);

    EXPECT_EQ(finishTimes(store->sessionsForDate(Date(local(day + QStringLiteral("T12:00:00"))))),
              (QList<double>{first, late}));
    EXPECT_EQ(
        finishTimes(store->sessionsForDate(Date(local(nextDay + QStringLiteral("T12:00:00"))))),
        QList<double>{next});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ClockChangeDayTest,
    ::testing::Values(ClockChangeRow{"TwentyFiveHourDay", "2026-10-25", "2026-10-26"},
                      ClockChangeRow{"TwentyThreeHourDay", "2026-03-29", "2026-03-30"}),
    rowName<ClockChangeRow>);

} // namespace
