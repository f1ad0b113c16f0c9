#include <gtest/gtest.h>

#include "Console.h"
#include "cloud/CloudFailure.h"
#include "cloud/CloudRecordMapping.h"

namespace {

CloudRecord namedTaskInfo(const QString& name, const QString& recordName)
{
    CloudRecord record =
        CloudRecordMapping::taskInfoRecord(TaskInfoParameter(name, QStringLiteral("red"), Date(1)));
    record.setRecordName(recordName);
    return record;
}

} // namespace

TEST(CloudRecordMappingTest, TasksOfABatchPointAtTheFirstTaskInfoOfTheirName)
{
    QStringList lines;
    Console::setSink([&](const QString& line) { lines.append(line); });
    const QList<CloudRecord> infos{namedTaskInfo(QStringLiteral("Read"), QStringLiteral("r1")),
                                   namedTaskInfo(QStringLiteral("Write"), QStringLiteral("w1")),
                                   namedTaskInfo(QStringLiteral("Write"), QStringLiteral("w2"))};
    TaskParameter task;
    task.taskName = QStringLiteral("Write");
    task.startTime = 3;
    const CloudRecord first = CloudRecordMapping::batchTaskRecord(task, infos);
    task.startTime = 4;
    const CloudRecord second = CloudRecordMapping::batchTaskRecord(task, infos);
    task.taskName.reset();
    const CloudRecord generic = CloudRecordMapping::batchTaskRecord(task, infos);
    Console::setSink(nullptr);

    EXPECT_EQ(CloudRecordMapping::taskInfoReference(first), QStringLiteral("w1"));
    EXPECT_EQ(CloudRecordMapping::taskInfoReference(second), QStringLiteral("w1"));
    EXPECT_EQ(first.fields().value(QStringLiteral("taskInfo")).zone,
              QStringLiteral("TasksInfoZone"));
    EXPECT_FALSE(generic.fields().contains(QStringLiteral("taskInfo")));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("> w1"), QStringLiteral("> w1")}));
    // No name is written on the record: it travels through the reference.
    EXPECT_FALSE(first.fields().contains(QStringLiteral("taskName")));
}

TEST(CloudRecordMappingTest, ARecordWithoutARequiredFieldReadsAsAbsent)
{
    TaskParameter task;
    task.startTime = 5;
    task.freeTimeDuration = 0;
    EXPECT_FALSE(
        CloudRecordMapping::taskParameter(CloudRecordMapping::taskRecord(task, std::nullopt)));
    task.duration = 1500;
    EXPECT_TRUE(
        CloudRecordMapping::taskParameter(CloudRecordMapping::taskRecord(task, std::nullopt)));

    CloudRecord info = namedTaskInfo(QStringLiteral("Read"), QStringLiteral("r1"));
    info.remove(QStringLiteral("color"));
    EXPECT_FALSE(CloudRecordMapping::taskInfoParameter(info));
    // Another type under the same field names is not read as a goal.
    EXPECT_FALSE(CloudRecordMapping::goal(CloudRecordMapping::sessionRecord(1, 1)));

    Thief thief;
    thief.identifier = QStringLiteral("org.web");
    EXPECT_FALSE(CloudRecordMapping::thief(CloudRecordMapping::thiefRecord(thief)));
    EXPECT_EQ(CloudRecordMapping::naturalKey(CloudRecordMapping::thiefRecord(thief)),
              CloudField::string(QStringLiteral("org.web")));
    EXPECT_FALSE(CloudRecordMapping::naturalKey(
        CloudRecord(QStringLiteral("Thief"), QStringLiteral("OtherZone"))));
}

TEST(CloudFailureTest, ServerStatesGetTheCodesTheEngineActsOn)
{
    const auto refused = [](const QString& state) {
        return CloudFailure::fromStatement({CloudError::Kind::Refused, QString(), state});
    };
    EXPECT_EQ(refused(QStringLiteral("ZQ001")).code, CloudFailure::QuotaExceeded);
    EXPECT_EQ(refused(QStringLiteral("ZT001")).code, CloudFailure::ServerRecordChanged);
    EXPECT_EQ(refused(QStringLiteral("ZA001")).code, CloudFailure::NotAuthenticated);
    EXPECT_EQ(refused(QStringLiteral("42501")).code, CloudFailure::PermissionFailure);
    EXPECT_EQ(refused(QStringLiteral("23514")).code, CloudFailure::InvalidArguments);
    EXPECT_EQ(refused(QStringLiteral("08006")).code, CloudFailure::NetworkFailure);
    EXPECT_EQ(refused(QStringLiteral("57P01")).code, CloudFailure::NetworkFailure);
    EXPECT_FALSE(refused(QStringLiteral("57P01")).retryAfter);
    EXPECT_EQ(refused(QStringLiteral("57P03")).retryAfter, 30);
    EXPECT_EQ(refused(QStringLiteral("53300")).code, CloudFailure::NetworkUnavailable);
    EXPECT_EQ(refused(QStringLiteral("53300")).retryAfter, 30);
    EXPECT_EQ(refused(QStringLiteral("XX000")).code, CloudFailure::InternalError);

    const CloudFailure busy = CloudFailure::fromConnect(
        {CloudError::Kind::Unreachable, QStringLiteral("FATAL: sorry, too many clients already"),
         QString()});
    EXPECT_TRUE(busy.isNetworkFailure());
    EXPECT_EQ(busy.retryAfter, 30);
}
