#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "store/TaskInfoParameter.h"
#include "store/TaskParameter.h"
#include "store/Thief.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

// The cloud writes the store asks for, one per kind of change. Completions may run on any
// thread; whoever needs the main thread hops there itself.
class TALLYCORE_EXPORT CloudSync {
public:
    // (record name or none, failed, pending): pending means queued for a later replay.
    using SaveCompletion =
        std::function<void(std::optional<QString> recordName, bool failed, bool pending)>;
    // (deleted, pending); not called for a failure that is not a network failure.
    using DeleteCompletion = std::function<void(bool deleted, bool pending)>;
    // (failed, pending) of an edit of an existing record.
    using EditCompletion = std::function<void(bool failed, bool pending)>;

    virtual ~CloudSync();

    virtual void saveTask(const TaskParameter& task, const std::optional<QString>& taskInfoRecordID,
                          SaveCompletion completion) = 0;
    virtual void renameTaskReferenced(const QString& recordID, const QString& taskInfoRecordID,
                                      EditCompletion completion = {}) = 0;
    virtual void deleteTask(const QString& recordID, DeleteCompletion completion = {}) = 0;

    virtual void saveTaskInfo(const TaskInfoParameter& taskInfo, SaveCompletion completion) = 0;
    virtual void renameTaskWithNewName(const QString& recordID, const QString& newName,
                                       EditCompletion completion = {}) = 0;
    virtual void updateTask(const QString& recordID, const TaskInfoParameter& parameter,
                            EditCompletion completion = {}) = 0;
    virtual void deleteTaskInfo(const QString& recordID, DeleteCompletion completion = {}) = 0;

    virtual void saveSession(double finishedAt, int tasksCount, SaveCompletion completion) = 0;
    virtual void saveGoal(double achieveAt, int tasksCount, SaveCompletion completion) = 0;

    virtual void saveThief(const Thief& thief, SaveCompletion completion) = 0;
    virtual void switchThief(const QString& recordID, bool isActive,
                             EditCompletion completion = {}) = 0;
    virtual void saveWorkActivity(const WorkActivity& activity, SaveCompletion completion) = 0;
    virtual void deleteWorkActivity(const QString& recordID, DeleteCompletion completion = {}) = 0;
};
