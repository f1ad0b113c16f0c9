#include <gtest/gtest.h>

#include <thread>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>

#include "Console.h"
#include "SmallDisk.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudOperationPerformer.h"
#include "cloud/CloudValues.h"

namespace {

using Outcome = CloudOperationPerformer::Outcome;

// Answers from a thread of its own, as the cloud's completions do, with the outcomes it is
// given in turn; `during` runs before the first answer.
class ScriptedPerformer final : public CloudOperationPerformer {
public:
    explicit ScriptedPerformer(QList<Outcome> outcomes)
        : m_outcomes(std::move(outcomes))
    {}
    void perform(const CloudOperation& operation, std::function<void(Outcome)> completion) override
    {
        performed.append(operation);
        if (during) {
            during();
            during = nullptr;
        }
        const Outcome outcome = m_outcomes.isEmpty() ? Outcome::done : m_outcomes.takeFirst();
        std::thread([completion, outcome] { completion(outcome); }).detach();
    }

    QList<CloudOperation> performed;
    std::function<void()> during;

private:
    QList<Outcome> m_outcomes;
};

CloudOperation deletion(CloudOperation::Record record, const QString& recordName)
{
    return {
        record, CloudOperation::Operation::remove, {{QStringLiteral("cloudRecordID"), recordName}}};
}

class CloudOperationCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Console::setSink([this](const QString& line) { lines.append(line); });
    }
    void TearDown() override { Console::setSink(nullptr); }

    QString path() const { return folder.filePath(QStringLiteral("operations.cache")); }

    QJsonArray fileArray() const
    {
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).array();
    }

    void writeFile(const QByteArray& bytes)
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir folder;
    QStringList lines;
};

TEST_F(CloudOperationCacheTest, ValuesSurviveTheFileExactly)
{
    TaskParameter task;
    task.startTime = 600000000.123456789;
    task.endTime = 600001500.987654321;
    task.duration = 1500;
    task.freeTimeDuration = 300;
    task.taskName = QStringLiteral("Write \"chapter\" 3");
    Thief thief;
    thief.name = QStringLiteral("YouTube");
    thief.identifier = QStringLiteral("youtube.com");
    thief.kind = QStringLiteral("website");
    thief.isActive = false;
    thief.image = QByteArray("\x89PNG\0\xff", 6);
    {
        CloudOperationCache cache(path());
        EXPECT_FALSE(cache.isPending());
        cache.append({CloudOperation::Record::task,
                      CloudOperation::Operation::save,
                      {{QStringLiteral("taskParameter"), CloudValues::from(task)}}});
        cache.append({CloudOperation::Record::thief,
                      CloudOperation::Operation::save,
                      {{QStringLiteral("thief"), CloudValues::from(thief)}}});
    }
    CloudOperationCache reopened(path());
    ASSERT_TRUE(reopened.isPending());
    const QList<CloudOperation> operations = reopened.operations();
    ASSERT_EQ(operations.size(), 2);
    EXPECT_EQ(operations[1].recordType, CloudOperation::Record::thief);
    EXPECT_EQ(fileArray()[1].toObject().value(QStringLiteral("record")).toInt(), 4);

    const auto readTask = CloudValues::taskParameter(
        operations[0].userInfo.value(QStringLiteral("taskParameter")).toMap());
    ASSERT_TRUE(readTask);
    EXPECT_EQ(readTask->startTime, task.startTime);
    EXPECT_EQ(readTask->endTime, task.endTime);
    EXPECT_EQ(readTask->duration, 1500);
    EXPECT_EQ(readTask->taskName, task.taskName);
    const auto readThief =
        CloudValues::thief(operations[1].userInfo.value(QStringLiteral("thief")).toMap());
    ASSERT_TRUE(readThief);
    EXPECT_EQ(readThief->image, thief.image);
    EXPECT_FALSE(readThief->isActive);

    // A task that lost its duration cannot make a record.
    QVariantMap broken = CloudValues::from(task);
    broken.remove(QStringLiteral("duration"));
    EXPECT_FALSE(CloudValues::taskParameter(broken));
}

TEST_F(CloudOperationCacheTest, ReplayDropsOnlyWhatWasAnsweredAndStopsAtTheNetwork)
{
    CloudOperationCache cache(path());
    for (const char* name : {"a", "b", "c", "d"})
        cache.append(deletion(CloudOperation::Record::task, QString::fromLatin1(name)));

    ScriptedPerformer performer({Outcome::done, Outcome::failed, Outcome::networkFailure});
    // An operation queued while the replay runs waits for the next one.
    performer.during = [&cache] {
        cache.append(deletion(CloudOperation::Record::workActivity, QStringLiteral("late")));
    };
    QList<std::pair<int, int>> progress;
    std::pair<int, int> finished{-1, -1};
    cache.processPendingOperations(
        performer,
        [&progress](int i, int n) {
            progress.append({i, n});
        },
        [&finished](int done, int n) {
            finished = {done, n};
        });
    cache.waitForWork();

    EXPECT_EQ(performer.performed.size(), 3);
    EXPECT_EQ(progress, (QList<std::pair<int, int>>{{0, 4}, {1, 4}}));
    EXPECT_EQ(finished, (std::pair<int, int>{2, 4}));
    QStringList kept;
    for (const CloudOperation& operation : cache.operations())
        kept.append(operation.userInfo.value(QStringLiteral("cloudRecordID")).toString());
    EXPECT_EQ(kept,
              (QStringList{QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("late")}));
    EXPECT_EQ(fileArray().size(), 3);

    // Back online: everything goes, in order, and the file holds an empty list.
    ScriptedPerformer online({});
    cache.processPendingOperations(online, {}, [&finished](int done, int n) {
        finished = {done, n};
    });
    cache.waitForWork();
    EXPECT_EQ(finished, (std::pair<int, int>{3, 3}));
    EXPECT_FALSE(cache.isPending());
    EXPECT_EQ(fileArray().size(), 0);
}

TEST_F(CloudOperationCacheTest, BadEntriesAndBadFilesAreSkippedOrKeptAside)
{
    writeFile(R"([{"operation":2,"record":3,"userInfo":{}},
                  {"operation":2,"record":2,"userInfo":{"cloudRecordID":"g"}},
                  {"operation":2,"record":8},
                  {"operation":2,"record":8,"userInfo":{"cloudRecordID":"w"}}])");
    {
        CloudOperationCache cache(path());
        ASSERT_EQ(cache.operations().size(), 2);
        ScriptedPerformer performer({});
        cache.processPendingOperations(performer);
        cache.waitForWork();
        // A goal is never deleted in the cloud: said and dropped, not performed.
        ASSERT_EQ(performer.performed.size(), 1);
        EXPECT_EQ(performer.performed[0].recordType, CloudOperation::Record::workActivity);
        EXPECT_TRUE(lines.contains(
            QStringLiteral("err @ process(operation:) -> Combinación no contemplada")));
        EXPECT_FALSE(cache.isPending());
    }

    writeFile("{ not json");
    CloudOperationCache cache(path());
    EXPECT_FALSE(cache.isPending());
    const QStringList aside =
        QDir(folder.path()).entryList({QStringLiteral("operations.cache.unreadable-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(folder.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{ not json"));
    cache.append(deletion(CloudOperation::Record::task, QStringLiteral("t")));
    cache.waitForWork();
    EXPECT_EQ(fileArray().size(), 1);
}

TEST_F(CloudOperationCacheTest, AFullDiskKeepsTheListAndTheFileBefore)
{
    // A real small disk where this user may mount one; otherwise a folder that refuses files.
    SmallDisk disk(folder.path(), 1);
    CloudOperationCache cache(path());
    cache.append(deletion(CloudOperation::Record::task, QStringLiteral("first")));
    cache.waitForWork();
    const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    if (disk.available())
        ASSERT_TRUE(disk.fill());
    else
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);

    QVariantMap large{{QStringLiteral("cloudRecordID"), QString(4096, QLatin1Char('x'))}};
    cache.append({CloudOperation::Record::task, CloudOperation::Operation::remove, large});
    cache.waitForWork();
    QFile::setPermissions(folder.path(), writable);
    EXPECT_TRUE(lines.contains(QStringLiteral("warn @ save() -> No se ha salvado")));
    EXPECT_EQ(cache.operations().size(), 2);
    EXPECT_EQ(fileArray().size(), 1);

    if (disk.available())
        disk.freeSpace();
    cache.append(deletion(CloudOperation::Record::task, QStringLiteral("third")));
    cache.waitForWork();
    EXPECT_EQ(fileArray().size(), 3);
}

} // namespace
