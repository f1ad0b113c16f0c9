#include "ui/TaskCreatorForm.h"

#include <QTextBoundaryFinder>

#include "store/DataController.h"

void TaskCreatorForm::setName(const QString& name)
{
    m_name = name;
    rebuildParameter();
}

void TaskCreatorForm::setDescription(const QString& description)
{
    m_description = description;
    rebuildParameter();
}

void TaskCreatorForm::chooseColor(TaskInfo::Colors color)
{
    m_selectedColor = TaskInfo::rawValue(color);
    m_markerColor = color;
}

void TaskCreatorForm::clear()
{
    m_name.clear();
    m_description.clear();
    m_selectedColor.reset();
    m_oldName.reset();
    m_parameter.reset();
    m_markerColor = TaskInfo::Colors::red;
}

bool TaskCreatorForm::edit(DataController& store, const QString& named)
{
    clear();
    const auto task = store.fetchTaskInfo(named);
    if (!task)
        return false;
    m_oldName = task->name.value_or(named);
    m_name = task->name.value_or(QString());
    m_description = task->taskDescription.value_or(QString());
    m_selectedColor = task->color;
    if (task->color) {
        if (const auto color = TaskInfo::colorFromRawValue(*task->color))
            m_markerColor = *color;
    }
    rebuildParameter();
    return true;
}

bool TaskCreatorForm::markerShown() const
{
    return !m_selectedColor || TaskInfo::colorFromRawValue(*m_selectedColor).has_value();
}

bool TaskCreatorForm::rebuildParameter()
{
    // Blanks around a name are never meant to be part of it.
    const QString name = m_name.trimmed();
    if (name.isEmpty())
        return false;
    // What the user sees is what is saved: the marker stands on a colour even before a click.
    TaskInfoParameter parameter(name, m_selectedColor.value_or(TaskInfo::rawValue(m_markerColor)));
    if (!m_description.isEmpty())
        parameter.taskDescription = m_description;
    m_parameter = parameter;
    return true;
}

int TaskCreatorForm::charactersLeft() const
{
    // Characters as the user sees them: an emoji or an accented letter counts once.
    int characters = 0;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_description);
    while (finder.toNextBoundary() > 0)
        ++characters;
    return descriptionLimit - characters;
}

std::optional<TaskCreatorForm::Saved> TaskCreatorForm::save(DataController& store, Refusal* refusal)
{
    const auto refuse = [refusal](Refusal why) -> std::optional<Saved> {
        if (refusal)
            *refusal = why;
        return std::nullopt;
    };
    if (!rebuildParameter())
        return refuse(Refusal::invalid);
    // The catalogue would skip a second task of a name without a word, and a rename onto
    // another task's name would leave two; both are refused here, where the user can be told.
    const QString& name = m_parameter->name;
    if (name != m_oldName && store.existsTaskInfo(name))
        return refuse(Refusal::nameTaken);
    if (m_oldName)
        store.updateTaskInfo(*m_oldName, *m_parameter);
    else
        store.addTaskInfo(*m_parameter);
    return Saved{m_oldName, m_parameter->name};
}
