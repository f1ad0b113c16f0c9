#include <mutex>
#include <ostream>
#include <thread>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include "Console.h"
#include "datalib/store/StoreFixture.h"
#include "support/ManualClock.h"

namespace {

class TodaySummaryTest : public StoreFixture {
protected:
    QString summaryPath() const
    {
        return env->dataDirectory() + QStringLiteral("/group/pomodoro_extension.data");
    }
    bool summaryExists() const { return QFile::exists(summaryPath()); }
};

TEST_F(TodaySummaryTest, DescribesTodaysWork)
{
    env->clock().setNow(at("2026-06-10T16:00:00"));
    store->addTask(task("2026-06-09T22:00:00", 1500, 300));
    // The later pomodoro goes in first: the start time is today's latest, not the last added.
    store->addTask(task("2026-06-10T14:00:00", 1200, 600));
    store->addTask(task("2026-06-10T09:00:00", 1500, 300));
    store->addTask(task("2026-06-11T09:00:00", 1500, 300));
    store->addSession(at("2026-06-09T20:00:00"), 4);
    store->addSession(at("2026-06-10T10:00:00"), 4);
    env->clock().setNow(at("2026-06-10T16:30:00"));
    // A goal at midnight sits on the day's edge and is no goal of today.
    store->addGoal(at("2026-06-10T00:00:00"), 8);

    auto summary = store->extensionData();
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->value("ExtensionStartTime").toDouble(), at("2026-06-10T14:00:00"));
    EXPECT_EQ(summary->value("ExtensionTaskCount").toInt(), 2);
    EXPECT_EQ(summary->value("ExtensionWorkTime").toDouble(), 2700.0);
    EXPECT_EQ(summary->value("ExtensionFreeTime").toDouble(), 900.0);
    EXPECT_EQ(summary->value("ExtensionDate").toDouble(), at("2026-06-10T16:30:00"));
    EXPECT_EQ(summary->value("ExtensionSessionCount").toInt(), 1);
    ASSERT_TRUE(summary->contains("ExtensionGoalAchieve"));
    EXPECT_EQ(summary->value("ExtensionGoalAchieve").typeId(), QMetaType::Bool);
    EXPECT_FALSE(summary->value("ExtensionGoalAchieve").toBool());
    EXPECT_EQ(summary->size(), 7);

    env->clock().setNow(at("2026-06-10T16:45:00"));
    store->addGoal(at("2026-06-10T15:00:00"), 8);
    summary = store->extensionData();
    ASSERT_TRUE(summary);
    EXPECT_TRUE(summary->value("ExtensionGoalAchieve").toBool());
    EXPECT_EQ(summary->value("ExtensionDate").toDouble(), at("2026-06-10T16:45:00"));
}

TEST_F(TodaySummaryTest, SaveWithNothingPendingLeavesTheSummaryAlone)
{
    store->addTask(task("2026-06-10T09:00:00"));
    ASSERT_TRUE(summaryExists());
    store->saveContext();
    ASSERT_TRUE(QFile::remove(summaryPath()));

    store->saveContext();
    EXPECT_FALSE(summaryExists());

    // Asked for directly, it is written again.
    store->shareExtensionData();
    EXPECT_TRUE(summaryExists());
}

TEST_F(TodaySummaryTest, SaveOnADayWithoutPomodorosRemovesTheSummary)
{
    store->addTask(task("2026-06-10T09:00:00"));
    ASSERT_TRUE(summaryExists());

    env->clock().setNow(at("2026-06-11T09:00:00"));
    store->addSession(4);

    EXPECT_FALSE(summaryExists());
    EXPECT_FALSE(store->extensionData());
    EXPECT_TRUE(consoleLines.isEmpty()) << consoleLines.join(QLatin1Char('\n')).toStdString();
}

struct UnreadableRow {
    const char* name;
    const char* contents;
};

void PrintTo(const UnreadableRow& row, std::ostream* os)
{
    *os << row.name;
}

class TodaySummaryUnreadableTest : public TodaySummaryTest,
                                   public ::testing::WithParamInterface<UnreadableRow> {};

TEST_P(TodaySummaryUnreadableTest, IsAbsent)
{
    ASSERT_TRUE(QDir().mkpath(env->dataDirectory() + QStringLiteral("/group")));
    QFile file(summaryPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().contents);
    file.close();

    EXPECT_FALSE(store->extensionData());
}

INSTANTIATE_TEST_SUITE_P(Rows, TodaySummaryUnreadableTest,
                         ::testing::Values(UnreadableRow{"Empty", ""},
                                           UnreadableRow{"Garbage", "not json at all"},
                                           UnreadableRow{"Truncated", "{\"ExtensionTaskCount\": 2"},
                                           UnreadableRow{"Array", "[{\"ExtensionTaskCount\": 2}]"},
                                           UnreadableRow{"Number", "42"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TodaySummaryTest, IsAbsentWithoutAFile)
{
    EXPECT_FALSE(store->extensionData());
    store->addTask(task("2026-06-10T09:00:00"));
    EXPECT_TRUE(store->extensionData());
}

TEST_F(TodaySummaryTest, WritersAtOnceNeverTakeEachOthersFile)
{
    store->addTask(task("2026-06-10T09:00:00"));
    // A second store on the same folder stands for another process.
    DataController other(env->dataDirectory());
    std::mutex mutex;
    QStringList lines;
    Console::setSink([&](const QString& line) {
        std::lock_guard guard(mutex);
        lines.append(line);
    });
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i)
            other.shareExtensionData();
    });
    for (int i = 0; i < 300; ++i)
        store->shareExtensionData();
    writer.join();
    Console::setSink(nullptr);

    EXPECT_TRUE(lines.isEmpty()) << lines.join(u'|').toStdString();
    const auto summary = store->extensionData();
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->value("ExtensionTaskCount").toInt(), 1);
    // No temporary file is left behind.
    EXPECT_EQ(QDir(env->dataDirectory() + QStringLiteral("/group")).entryList(QDir::Files),
              QStringList({QStringLiteral("pomodoro_extension.data")}));
}

} // namespace
