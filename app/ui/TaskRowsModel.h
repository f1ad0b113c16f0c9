#pragma once

#include <memory>
#include <vector>

#include <QList>

#include "ui/TaskAdaptable.h"

class DataController;
class TaskActionDelegate;
class TaskTimerAdapter;

// The rows of the task list, rebuilt from the catalogue each time the list is shown and
// after every change.
class TaskRowsModel {
public:
    // One row per catalogued task in the store's name order, or the empty row alone.
    void reload(DataController& store, TaskActionDelegate* delegate);

    int count() const { return static_cast<int>(m_adapters.size()); }
    // Null outside the rows.
    const TaskAdaptable* adapter(int row) const;
    // Null for a row that is not a task.
    const TaskTimerAdapter* task(int row) const;

    bool isSelectable(int row) const;
    int height(int row) const;
    QList<TaskRowAction> actions(int row) const;

private:
    std::vector<std::unique_ptr<TaskAdaptable>> m_adapters;
};
