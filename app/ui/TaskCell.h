#pragma once

#include <functional>

#include "reports/LogbookRow.h"
#include "ui/LogbookCell.h"
#include "ui/RenameDelegate.h"

class QGraphicsOpacityEffect;
class QLabel;
class QPropertyAnimation;
class QToolButton;

// A stored task interval: its task, and how many intervals and minutes the task had that
// day up to this one. The rename and delete buttons show while the pointer is over it.
class TaskCell : public LogbookCell, public RenameDelegate {
    Q_OBJECT
public:
    explicit TaskCell(QWidget* parent = nullptr);

    void configure(const LogbookRow& row);
    // The interval's start, which finds it for the rename and the delete.
    double taskStartTime() const { return m_taskStartTime; }

    // Shows the new name with a short fade.
    void intervalNameChanged(const QString& newName) override;

    // The rename button was clicked; the popover opens beside it.
    std::function<void(TaskCell* cell, QWidget* button)> onRename;
    std::function<void(double taskStartTime)> onDelete;
    // After the new name has faded in.
    std::function<void()> onRenamed;

    QLabel* labelTaskName() const { return m_labelTaskName; }
    QLabel* labelIterations() const { return m_labelIterations; }
    QLabel* labelTime() const { return m_labelTime; }
    QLabel* labelClock() const { return m_labelClock; }
    QToolButton* buttonRename() const { return m_buttonRename; }
    QToolButton* buttonDelete() const { return m_buttonDelete; }
    // 0 hidden, 1 shown: the rename button's opacity.
    qreal renameOpacity() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void fadeActions(bool in);

    double m_taskStartTime = 0;
    QLabel* m_labelTaskName;
    QLabel* m_labelIterations;
    QLabel* m_labelTime;
    QLabel* m_labelClock;
    QToolButton* m_buttonRename;
    QToolButton* m_buttonDelete;
    QGraphicsOpacityEffect* m_renameOpacity = nullptr;
    QPropertyAnimation* m_renameFade = nullptr;
    QPropertyAnimation* m_nameFade = nullptr;
};
