#pragma once

#include <optional>

#include <QString>

#include "store/TaskInfo.h"
#include "store/TaskInfoParameter.h"

class DataController;

// What the task creator decides, apart from its widgets: the parameter built from the typed
// texts and the chosen colour, whether it may be saved, and the characters left.
class TaskCreatorForm {
public:
    static constexpr int descriptionLimit = 140;

    // What a save did: a new task (no old name) or an edit of the old name.
    struct Saved {
        std::optional<QString> oldName;
        QString newName;
    };
    // Why a save did nothing: no name, or the name of another task.
    enum class Refusal { invalid, nameTaken };

    QString name() const { return m_name; }
    QString description() const { return m_description; }
    std::optional<QString> selectedColor() const { return m_selectedColor; }
    std::optional<QString> oldName() const { return m_oldName; }
    const std::optional<TaskInfoParameter>& taskinfoParameter() const { return m_parameter; }
    // The swatch the marker sits on; the first one when no colour is chosen.
    TaskInfo::Colors markerColor() const { return m_markerColor; }
    // False for a stored colour that none of the swatches has.
    bool markerShown() const;

    // Both texts as typed; the parameter is rebuilt.
    void setName(const QString& name);
    void setDescription(const QString& description);
    void chooseColor(TaskInfo::Colors color);

    void clear();
    // Clears, then fills the form from the stored task; false when there is no such task.
    bool edit(DataController& store, const QString& named);

    // Valid with a name that is not blank; the colour is the one chosen or stored, else the
    // one the marker shows. An invalid form leaves the previous parameter in place.
    bool rebuildParameter();
    // 140 less the characters of the description; negative past the limit.
    int charactersLeft() const;

    // Adds the task, or replaces the one being edited. Nothing when the form is not valid or
    // the name is another task's, and `refusal` (when given) says which.
    std::optional<Saved> save(DataController& store, Refusal* refusal = nullptr);

private:
    QString m_name;
    QString m_description;
    std::optional<QString> m_selectedColor;
    std::optional<QString> m_oldName;
    std::optional<TaskInfoParameter> m_parameter;
    TaskInfo::Colors m_markerColor = TaskInfo::Colors::red;
};
