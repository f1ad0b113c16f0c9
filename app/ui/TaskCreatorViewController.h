#pragma once

#include <array>

#include <QString>
#include <QWidget>

#include "store/TaskInfo.h"
#include "timer/WeakDelegate.h"
#include "ui/ContainerTransitionDelegate.h"
#include "ui/TaskActionDelegate.h"
#include "ui/TaskCreatorForm.h"

class DataController;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPropertyAnimation;
class QPushButton;

// Adds a task to the catalogue (name, colour, optional description) or edits one.
class TaskCreatorViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int markerAnimationMs = 220;

    explicit TaskCreatorViewController(DataController& store, QWidget* parent = nullptr);

    // The task list, told about every task added or changed.
    void setDelegate(TaskActionDelegate* delegate) { m_delegate.set(delegate); }
    void setTransitionDelegate(ContainerTransitionDelegate* delegate)
    {
        m_transitionDelegate.set(delegate);
    }

    // Empty fields, no colour chosen, the marker on the first swatch.
    void clear();
    // Clears, then fills the fields with the stored task of that name, if there is one.
    void editTask(const QString& named);

    const TaskCreatorForm& form() const { return m_form; }

    QPushButton* buttonBack() const { return m_buttonBack; }
    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelTitleName() const { return m_labelTitleName; }
    QLineEdit* textfieldName() const { return m_textfieldName; }
    // Under the name: why the task was not saved.
    QLabel* labelNameError() const { return m_labelNameError; }
    QLabel* labelTitleColor() const { return m_labelTitleColor; }
    QAbstractButton* colorButton(TaskInfo::Colors color) const
    {
        return m_colorButtons[static_cast<size_t>(color)];
    }
    QWidget* viewMarker() const { return m_viewMarker; }
    QPropertyAnimation* markerAnimation() const { return m_markerAnimation; }
    QLabel* labelTitleDescription() const { return m_labelTitleDescription; }
    QPlainTextEdit* textfieldDescription() const { return m_textfieldDescription; }
    QLabel* labelCharactersLeft() const { return m_labelCharactersLeft; }
    QPushButton* buttonSave() const { return m_buttonSave; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleColorButtonClick(TaskInfo::Colors color);
    void handleSaveButtonClick();
    void handleBackButtonClick();
    void controlTextDidChange();
    void updateCharactersLeft();
    // Null hides it.
    void showNameError(const char* key);
    void moveMarker(bool animated);
    QPoint markerPosition() const;

    DataController& m_store;
    TaskCreatorForm m_form;
    WeakDelegate<TaskActionDelegate> m_delegate;
    WeakDelegate<ContainerTransitionDelegate> m_transitionDelegate;

    QWidget* m_viewSide;
    QPushButton* m_buttonBack;
    QLabel* m_labelTitle;
    QLabel* m_labelTitleName;
    QLineEdit* m_textfieldName;
    QLabel* m_labelNameError;
    QLabel* m_labelTitleColor;
    QWidget* m_colors;
    std::array<QAbstractButton*, 6> m_colorButtons{};
    QWidget* m_viewMarker;
    QPropertyAnimation* m_markerAnimation;
    QLabel* m_labelTitleDescription;
    QPlainTextEdit* m_textfieldDescription;
    QLabel* m_labelCharactersLeft;
    QPushButton* m_buttonSave;
};
