#include "ui/TaskTimerAdapter.h"

#include "ui/DurationText.h"

TaskTimerAdapter::TaskTimerAdapter(QString name, int iterations, int duration, QString color,
                                   TaskActionDelegate* delegate)
    : name(std::move(name))
    , iterations(iterations)
    , duration(duration)
    , color(std::move(color))
{
    this->delegate.set(delegate);
}

QString TaskTimerAdapter::time() const
{
    return DurationText::text(duration);
}

void TaskTimerAdapter::perform(TaskRowAction::Kind action) const
{
    auto* target = delegate.get();
    if (!target)
        return;
    // The delegate may rebuild its rows, this one among them, before it is done.
    const QString named = name;
    switch (action) {
    case TaskRowAction::Kind::remove:
        target->deleteTask(named);
        break;
    case TaskRowAction::Kind::edit:
        target->editTask(named);
        break;
    }
}
