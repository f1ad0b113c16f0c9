#pragma once

#include <memory>

#include <QString>
#include <QWidget>

#include "timer/WeakDelegate.h"
#include "ui/ContainerTransitionDelegate.h"
#include "ui/TaskActionDelegate.h"
#include "ui/TaskManagerDelegate.h"
#include "ui/TaskRowAction.h"
#include "ui/TaskRowsModel.h"

class DataController;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

// The task list: every task of the catalogue with how often and how long it was worked on.
// Choosing a task makes it the timer's current task.
class TasksViewController : public QWidget, public TaskActionDelegate {
    Q_OBJECT
public:
    explicit TasksViewController(DataController& store, QWidget* parent = nullptr);

    // The activity panel, told which task was chosen, deleted or renamed.
    void setDelegate(TaskManagerDelegate* delegate) { m_delegate.set(delegate); }
    void setTransitionDelegate(ContainerTransitionDelegate* delegate)
    {
        m_transitionDelegate.set(delegate);
    }

    // Rebuilds the rows from the catalogue.
    void reloadRows();
    const TaskRowsModel& adapters() const { return m_adapters; }

    // Makes a task row the current task and returns to the activity panel; other rows do
    // nothing.
    void chooseRow(int row);
    // The row's actions as a menu; none for a row without actions.
    std::unique_ptr<QMenu> contextMenu(int row);

    void editTask(const QString& name) override;
    void deleteTask(const QString& name) override;
    void taskAdded() override;
    void taskUpdated(const QString& oldName, const QString& newName) override;

    QWidget* viewSide() const { return m_viewSide; }
    QLabel* labelTitle() const { return m_labelTitle; }
    QPushButton* buttonNewTask() const { return m_buttonNewTask; }
    QPushButton* buttonBack() const { return m_buttonBack; }
    QListWidget* tableTasks() const { return m_tableTasks; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleCreateButtonClick();
    void handleBackButtonClick();
    void showContextMenu(const QPoint& position);
    void perform(const QString& name, TaskRowAction::Kind action);
    // Arrows and Return on the list; Menu (or Shift+F10) for the row's actions.
    bool tableEvent(QEvent* event);
    void drawFocusRing();
    static QString spokenText(const TaskAdaptable& adapter);

    DataController& m_store;
    TaskRowsModel m_adapters;
    WeakDelegate<TaskManagerDelegate> m_delegate;
    WeakDelegate<ContainerTransitionDelegate> m_transitionDelegate;

    QWidget* m_viewSide;
    QLabel* m_labelTitle;
    // Made in this order, which is the Tab order: back, new task, then the rows.
    QPushButton* m_buttonBack;
    QPushButton* m_buttonNewTask;
    QListWidget* m_tableTasks;
    // The list's focus came from the keyboard (or a key since), so the current row is ringed.
    bool m_keyboardFocus = false;
};
