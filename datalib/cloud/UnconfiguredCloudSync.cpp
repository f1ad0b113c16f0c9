#include "cloud/UnconfiguredCloudSync.h"

namespace {

void refuse(const CloudSync::SaveCompletion& completion)
{
    if (completion)
        completion(std::nullopt, true, false);
}

void refuse(const CloudSync::EditCompletion& completion)
{
    if (completion)
        completion(true, false);
}

} // namespace

CloudSync::~CloudSync() = default;

void UnconfiguredCloudSync::saveTask(const TaskParameter&, const std::optional<QString>&,
                                     SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::renameTaskReferenced(const QString&, const QString&,
                                                 EditCompletion completion)
{
    refuse(completion);
}

// A failed delete that is not a network failure calls nothing back.
void UnconfiguredCloudSync::deleteTask(const QString&, DeleteCompletion) {}

void UnconfiguredCloudSync::saveTaskInfo(const TaskInfoParameter&, SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::renameTaskWithNewName(const QString&, const QString&,
                                                  EditCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::updateTask(const QString&, const TaskInfoParameter&,
                                       EditCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::deleteTaskInfo(const QString&, DeleteCompletion) {}

void UnconfiguredCloudSync::saveSession(double, int, SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::saveGoal(double, int, SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::saveThief(const Thief&, SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::switchThief(const QString&, bool, EditCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::saveWorkActivity(const WorkActivity&, SaveCompletion completion)
{
    refuse(completion);
}

void UnconfiguredCloudSync::deleteWorkActivity(const QString&, DeleteCompletion) {}
