#pragma once

#include <mutex>
#include <thread>

#include <QList>
#include <QString>
#include <QStringList>

#include "cloud/CloudSync.h"

// Records every call and answers saves the way a test chooses, from a thread of its own as
// the real engine does.
class RecordingCloudSync final : public CloudSync {
public:
    enum class Answer { success, networkFailure, otherFailure };

    Answer answer = Answer::success;

    QStringList calls() const
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    QString lastRecordName() const
    {
        std::lock_guard lock(m_mutex);
        return m_lastRecordName;
    }
    // Waits for the answering threads.
    void drain()
    {
        std::lock_guard lock(m_mutex);
        for (auto& t : m_threads)
            t.join();
        m_threads.clear();
    }
    ~RecordingCloudSync() override { drain(); }

    void saveTask(const TaskParameter& task, const std::optional<QString>& taskInfoRecordID,
                  SaveCompletion completion) override
    {
        record(QStringLiteral("saveTask %1 %2")
                   .arg(task.startTime.value_or(-1))
                   .arg(taskInfoRecordID.value_or(QStringLiteral("-"))));
        answerSave(std::move(completion));
    }
    void renameTaskReferenced(const QString& recordID, const QString& taskInfoRecordID,
                              EditCompletion) override
    {
        record(QStringLiteral("renameTaskReferenced %1 %2").arg(recordID, taskInfoRecordID));
    }
    void deleteTask(const QString& recordID, DeleteCompletion) override
    {
        record(QStringLiteral("deleteTask ") + recordID);
    }
    void saveTaskInfo(const TaskInfoParameter& taskInfo, SaveCompletion completion) override
    {
        record(QStringLiteral("saveTaskInfo ") + taskInfo.name);
        answerSave(std::move(completion));
    }
    void renameTaskWithNewName(const QString& recordID, const QString& newName,
                               EditCompletion) override
    {
        record(QStringLiteral("renameTaskWithNewName %1 %2").arg(recordID, newName));
    }
    void updateTask(const QString& recordID, const TaskInfoParameter& parameter,
                    EditCompletion) override
    {
        record(
            QStringLiteral("updateTask %1 %2 %3").arg(recordID, parameter.name, parameter.color));
    }
    void deleteTaskInfo(const QString& recordID, DeleteCompletion) override
    {
        record(QStringLiteral("deleteTaskInfo ") + recordID);
    }
    void saveSession(double finishedAt, int tasksCount, SaveCompletion completion) override
    {
        record(QStringLiteral("saveSession %1 %2").arg(finishedAt).arg(tasksCount));
        answerSave(std::move(completion));
    }
    void saveGoal(double achieveAt, int tasksCount, SaveCompletion completion) override
    {
        record(QStringLiteral("saveGoal %1 %2").arg(achieveAt).arg(tasksCount));
        answerSave(std::move(completion));
    }
    void saveThief(const Thief&, SaveCompletion completion) override
    {
        record(QStringLiteral("saveThief"));
        answerSave(std::move(completion));
    }
    void switchThief(const QString& recordID, bool isActive, EditCompletion) override
    {
        record(QStringLiteral("switchThief %1 %2").arg(recordID).arg(isActive));
    }
    void saveWorkActivity(const WorkActivity&, SaveCompletion completion) override
    {
        record(QStringLiteral("saveWorkActivity"));
        answerSave(std::move(completion));
    }
    void deleteWorkActivity(const QString& recordID, DeleteCompletion) override
    {
        record(QStringLiteral("deleteWorkActivity ") + recordID);
    }

private:
    void record(const QString& call)
    {
        std::lock_guard lock(m_mutex);
        m_calls.append(call);
    }

    void answerSave(SaveCompletion completion)
    {
        std::lock_guard lock(m_mutex);
        const QString name = QStringLiteral("record-%1").arg(++m_saved);
        m_lastRecordName = name;
        const Answer a = answer;
        m_threads.emplace_back([a, name, completion = std::move(completion)] {
            switch (a) {
            case Answer::success:
                completion(name, false, false);
                break;
            case Answer::networkFailure:
                completion(std::nullopt, true, true);
                break;
            case Answer::otherFailure:
                completion(std::nullopt, true, false);
                break;
            }
        });
    }

    mutable std::mutex m_mutex;
    QStringList m_calls;
    QString m_lastRecordName;
    int m_saved = 0;
    std::vector<std::thread> m_threads;
};
