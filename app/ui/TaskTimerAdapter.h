#pragma once

#include <QString>

#include "timer/WeakDelegate.h"
#include "ui/TaskActionDelegate.h"
#include "ui/TaskAdaptable.h"

// A task of the catalogue with how often and how long it was worked on.
class TaskTimerAdapter : public TaskAdaptable {
public:
    static constexpr int rowHeight = 64;

    TaskTimerAdapter(QString name, int iterations, int duration, QString color,
                     TaskActionDelegate* delegate);

    QString name;
    // Stored task intervals of this task, and their total length in seconds.
    int iterations = 0;
    int duration = 0;
    QString color;
    WeakDelegate<TaskActionDelegate> delegate;

    Cell cell() const override { return Cell::taskManager; }
    int height() const override { return rowHeight; }
    bool isSelectable() const override { return true; }
    QList<TaskRowAction> actions() const override { return TaskRowAction::trailing(); }

    // The duration as the cell shows it.
    QString time() const;
    // Hands the action to the delegate; nothing happens once the delegate is gone.
    void perform(TaskRowAction::Kind action) const;
};
