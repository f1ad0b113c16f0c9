#pragma once

#include <QString>

// What the task list tells the activity panel about the current task.
class TaskManagerDelegate {
public:
    virtual ~TaskManagerDelegate() = default;

    virtual void taskChosen(const QString& name) = 0;
    virtual void taskDeleted(const QString& name) = 0;
    virtual void taskNameChanged(const QString& oldName, const QString& newName) = 0;
};
