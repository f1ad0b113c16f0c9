#pragma once

#include <QList>

#include "ui/TaskRowAction.h"

// One row of the task list: it knows which cell shows it, how tall it is and whether it can
// be chosen.
class TaskAdaptable {
public:
    enum class Cell { taskManager, emptyTask };

    virtual ~TaskAdaptable() = default;

    virtual Cell cell() const = 0;
    virtual int height() const = 0;
    virtual bool isSelectable() const = 0;
    virtual QList<TaskRowAction> actions() const { return {}; }
};
