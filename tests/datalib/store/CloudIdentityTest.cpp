#include <algorithm>

#include <QCoreApplication>

#include "datalib/store/StoreFixture.h"
#include "dispatch/MainQueue.h"

namespace {

class CloudIdentityTest : public StoreFixture {};

TEST_F(CloudIdentityTest, SuccessfulSavesNameTheirRowsOnTheMainThread)
{
    addTaskInfo(QStringLiteral("Write"));
    settle();
    const QString taskRecord = *store->fetchTaskInfo(QStringLiteral("Write"))->cloudRecordID;

    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addSession(at("2026-06-10T10:00:00"), 4);
    store->addGoal(at("2026-06-10T11:00:00"), 12);
    // Nothing is named before the main thread runs the hand-over.
    EXPECT_EQ(store->unsyncedPomodoros()->size(), 1);
    settle();

    const QStringList calls = cloud->calls();
    ASSERT_EQ(calls.size(), 4);
    EXPECT_EQ(calls[1],
              QStringLiteral("saveTask %1 %2").arg(at("2026-06-10T09:00:00")).arg(taskRecord));
    EXPECT_TRUE(store->unsyncedPomodoros()->isEmpty());
    EXPECT_TRUE(store->unsyncedSessions()->isEmpty());
    EXPECT_TRUE(store->unsyncedGoals()->isEmpty());
    EXPECT_TRUE(store->unsyncedTaskInfos()->isEmpty());
    const auto pomodoro = store->pomodorosForDate(day("2026-06-10T12:00:00"))->first();
    EXPECT_EQ(pomodoro.cloudRecordID, QStringLiteral("record-2"));
    EXPECT_EQ(store->sessionsForDate(day("2026-06-10T12:00:00"))->first().cloudRecordID,
              QStringLiteral("record-3"));
    EXPECT_EQ(store->goalForDate(day("2026-06-10T12:00:00"))->cloudRecordID,
              QStringLiteral("record-4"));
}

TEST_F(CloudIdentityTest, FailedSavesLeaveRowsUnnamed)
{
    for (auto answer :
         {RecordingCloudSync::Answer::networkFailure, RecordingCloudSync::Answer::otherFailure}) {
        cloud->answer = answer;
        store->addTask(task(answer == RecordingCloudSync::Answer::otherFailure
                                ? "2026-06-10T09:00:00"
                                : "2026-06-10T10:00:00"));
    }
    store->addSession(at("2026-06-10T10:00:00"), 4);
    addTaskInfo(QStringLiteral("Write"));
    settle();
    EXPECT_EQ(store->unsyncedPomodoros()->size(), 2);
    EXPECT_EQ(store->unsyncedSessions()->size(), 1);
    EXPECT_EQ(store->unsyncedTaskInfos()->size(), 1);
}

TEST_F(CloudIdentityTest, TheInstalledCloudRefusesWithoutQueueing)
{
    DataController offline(env->dataDirectory() + QStringLiteral("/offline"));
    TaskParameter p = task("2026-06-10T09:00:00");
    offline.addTask(p);
    offline.addTaskInfo(TaskInfoParameter(QStringLiteral("Write"), QStringLiteral("#f72020")));
    settle();
    EXPECT_EQ(offline.unsyncedPomodoros()->size(), 1);
    EXPECT_EQ(offline.unsyncedTaskInfos()->size(), 1);
}

TEST_F(CloudIdentityTest, IdentityGoesToTheFirstUnnamedRowAtThatInstant)
{
    cloud->answer = RecordingCloudSync::Answer::otherFailure;
    store->addTask(task("2026-06-10T09:00:00"));
    store->addTask(task("2026-06-10T09:00:00"));
    store->addSession(at("2026-06-10T10:00:00"), 4);
    store->addSession(at("2026-06-10T10:00:00"), 4);

    store->updatePomodoro(QStringLiteral("A"), day("2026-06-10T09:00:00"));
    store->updatePomodoro(QStringLiteral("B"), day("2026-06-10T09:00:00"));
    consoleLines.clear();
    store->updatePomodoro(QStringLiteral("C"), day("2026-06-10T09:00:00"));
    ASSERT_EQ(consoleLines.size(), 1);
    EXPECT_TRUE(consoleLines[0].startsWith(QStringLiteral("No se puede asignar ID: C -> ")))
        << consoleLines[0].toStdString();

    store->updateSession(QStringLiteral("S1"), day("2026-06-10T10:00:00"));
    store->updateSession(QStringLiteral("S2"), day("2026-06-10T10:00:00"));
    QStringList names;
    const auto pomodoros = *store->pomodorosForDate(day("2026-06-10T12:00:00"));
    for (const auto& p : pomodoros)
        names.append(*p.cloudRecordID);
    const auto sessions = *store->sessionsForDate(day("2026-06-10T12:00:00"));
    for (const auto& s : sessions)
        names.append(*s.cloudRecordID);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("S1"),
                                  QStringLiteral("S2")}));
}

TEST_F(CloudIdentityTest, EditsReachTheCloudOnlyForNamedRows)
{
    cloud->answer = RecordingCloudSync::Answer::otherFailure;
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00"));
    store->updatePomodoroName(QStringLiteral("Write"), day("2026-06-10T09:00:00"));
    store->deletePomodoro(day("2026-06-10T09:00:00"));
    settle();
    EXPECT_EQ(cloud->calls(),
              QStringList({QStringLiteral("saveTaskInfo Write"),
                           QStringLiteral("saveTask %1 -").arg(at("2026-06-10T09:00:00"))}));

    store->updateTaskInfoCloudRecordID(QStringLiteral("Write"), QStringLiteral("T1"));
    store->addTask(task("2026-06-10T10:00:00"));
    store->updatePomodoro(QStringLiteral("P1"), day("2026-06-10T10:00:00"));
    store->updatePomodoroName(QStringLiteral("Write"), day("2026-06-10T10:00:00"));
    store->deletePomodoro(day("2026-06-10T10:00:00"));
    settle();
    const QStringList calls = cloud->calls();
    EXPECT_EQ(calls.mid(3), QStringList({QStringLiteral("renameTaskReferenced P1 T1"),
                                         QStringLiteral("deleteTask P1")}));
}

TEST_F(CloudIdentityTest, AnswerArrivingAfterTheStoreIsGoneIsDropped)
{
    store->addTask(task("2026-06-10T09:00:00"));
    cloud->drain();
    store.reset();
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST_F(CloudIdentityTest, ForgettingCloudIdentitiesMakesEveryRowUnsynced)
{
    addTaskInfo(QStringLiteral("Write"));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300, QStringLiteral("Write")));
    store->addSession(at("2026-06-10T10:00:00"), 4);
    store->addGoal(at("2026-06-10T11:00:00"), 12);
    settle();
    ASSERT_TRUE(store->unsyncedPomodoros()->isEmpty());

    store->iCloudPreviousState();
    EXPECT_EQ(store->unsyncedPomodoros()->size(), 1);
    EXPECT_EQ(store->unsyncedTaskInfos()->size(), 1);
    EXPECT_EQ(store->unsyncedSessions()->size(), 1);
    EXPECT_EQ(store->unsyncedGoals()->size(), 1);
    EXPECT_FALSE(store->hasChanges());
}

} // namespace
