#pragma once

#include <QString>

// What a task row and the task creator tell the task list.
class TaskActionDelegate {
public:
    virtual ~TaskActionDelegate() = default;

    virtual void editTask(const QString& name) = 0;
    virtual void deleteTask(const QString& name) = 0;
    virtual void taskAdded() = 0;
    virtual void taskUpdated(const QString& oldName, const QString& newName) = 0;
};
