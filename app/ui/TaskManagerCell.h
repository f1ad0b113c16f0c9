#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QWidget>

#include "ui/TaskRowAction.h"

class QFrame;
class QLabel;
class QToolButton;
class TaskTimerAdapter;

// A task row: a bar in the task's colour, its name, its iterations and its time, and the
// row actions as buttons that appear on the trailing edge while the pointer is over it.
class TaskManagerCell : public QWidget {
    Q_OBJECT
public:
    explicit TaskManagerCell(QWidget* parent = nullptr);

    void configure(const TaskTimerAdapter& adapter);

    // An absent value shows "-".
    void setTaskName(const std::optional<QString>& taskName);
    void setIterations(const std::optional<int>& iterations);
    void setTime(const std::optional<QString>& time);
    void setColor(const std::optional<QString>& color);
    void setActions(const QList<TaskRowAction>& actions);
    void setActionsVisible(bool visible);
    // The list's current row while the keyboard moves through it.
    void setFocusRing(bool shown);
    bool hasFocusRing() const { return m_focusRing; }

    // Called when one of the hover buttons is clicked.
    std::function<void(TaskRowAction::Kind)> onAction;

    QFrame* viewColor() const { return m_viewColor; }
    QLabel* labelTaskName() const { return m_labelTaskName; }
    QLabel* labelTitleIterations() const { return m_labelTitleIterations; }
    QLabel* labelIterations() const { return m_labelIterations; }
    QLabel* labelTitleTime() const { return m_labelTitleTime; }
    QLabel* labelTime() const { return m_labelTime; }
    QList<QToolButton*> actionButtons() const { return m_actionButtons; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeActions();

    QFrame* m_viewColor;
    QLabel* m_labelTaskName;
    QLabel* m_labelTitleIterations;
    QLabel* m_labelIterations;
    QLabel* m_labelTitleTime;
    QLabel* m_labelTime;
    QWidget* m_actionsView;
    QList<QToolButton*> m_actionButtons;
    bool m_hovered = false;
    bool m_focusRing = false;
};
