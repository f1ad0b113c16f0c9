#include "ui/TaskRowsModel.h"

#include "store/DataController.h"
#include "store/Localization.h"
#include "ui/EmptyTaskAdapter.h"
#include "ui/TaskTimerAdapter.h"

void TaskRowsModel::reload(DataController& store, TaskActionDelegate* delegate)
{
    m_adapters.clear();
    // A failed name fetch reads as an empty catalogue rather than a stale list.
    const QStringList names = store.taskNames().value_or(QStringList{});
    for (const QString& name : names) {
        m_adapters.push_back(std::make_unique<TaskTimerAdapter>(
            name, store.executions(name), store.timeDedicated(name), store.color(name), delegate));
    }
    if (m_adapters.empty()) {
        m_adapters.push_back(std::make_unique<EmptyTaskAdapter>(
            Localization::text("EMPTY_TASKS_MANAGER_TITLE"),
            Localization::text("EMPTY_TASKS_MANAGER_DESCRIPTION")));
    }
}

const TaskAdaptable* TaskRowsModel::adapter(int row) const
{
    if (row < 0 || row >= count())
        return nullptr;
    return m_adapters[static_cast<size_t>(row)].get();
}

const TaskTimerAdapter* TaskRowsModel::task(int row) const
{
    const auto* found = adapter(row);
    if (!found || found->cell() != TaskAdaptable::Cell::taskManager)
        return nullptr;
    return static_cast<const TaskTimerAdapter*>(found);
}

bool TaskRowsModel::isSelectable(int row) const
{
    const auto* found = adapter(row);
    return found && found->isSelectable();
}

int TaskRowsModel::height(int row) const
{
    const auto* found = adapter(row);
    return found ? found->height() : 0;
}

QList<TaskRowAction> TaskRowsModel::actions(int row) const
{
    const auto* found = adapter(row);
    return found ? found->actions() : QList<TaskRowAction>{};
}
