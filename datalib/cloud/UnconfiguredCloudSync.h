#pragma once

#include "cloud/CloudSync.h"
#include "tallycore_export.h"

// Stands in while no cloud database is configured: every write fails, and not for lack of
// network, so nothing is queued and rows keep no cloud identity.
class TALLYCORE_EXPORT UnconfiguredCloudSync final : public CloudSync {
public:
    void saveTask(const TaskParameter& task, const std::optional<QString>& taskInfoRecordID,
                  SaveCompletion completion) override;
    void renameTaskReferenced(const QString& recordID, const QString& taskInfoRecordID,
                              EditCompletion completion) override;
    void deleteTask(const QString& recordID, DeleteCompletion completion) override;
    void saveTaskInfo(const TaskInfoParameter& taskInfo, SaveCompletion completion) override;
    void renameTaskWithNewName(const QString& recordID, const QString& newName,
                               EditCompletion completion) override;
    void updateTask(const QString& recordID, const TaskInfoParameter& parameter,
                    EditCompletion completion) override;
    void deleteTaskInfo(const QString& recordID, DeleteCompletion completion) override;
    void saveSession(double finishedAt, int tasksCount, SaveCompletion completion) override;
    void saveGoal(double achieveAt, int tasksCount, SaveCompletion completion) override;
    void saveThief(const Thief& thief, SaveCompletion completion) override;
    void switchThief(const QString& recordID, bool isActive, EditCompletion completion) override;
    void saveWorkActivity(const WorkActivity& activity, SaveCompletion completion) override;
    void deleteWorkActivity(const QString& recordID, DeleteCompletion completion) override;
};
