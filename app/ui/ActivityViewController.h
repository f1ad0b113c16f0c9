#pragma once

#include <functional>
#include <optional>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "timer/WeakDelegate.h"
#include "ui/ActivitySettingsViewController.h"
#include "ui/ContainerTransitionDelegate.h"
#include "ui/PanelActions.h"
#include "ui/TaskManagerDelegate.h"

class ActivityManager;
class ActivityView;
class QAction;
class QLabel;
class QPropertyAnimation;
class QPushButton;
class QToolButton;
class SessionView;

// The popover's main screen: the countdown ring, the session and goal rings, the current task,
// a menu of timer actions and the buttons that open the application's windows. The windows
// are the application's: the panel only asks for them.
//
// Keyboard: Tab walks the controls, and Return or Space works the one with the focus; elsewhere
// Space starts or pauses, Ctrl+R restarts the phase, Ctrl+Shift+S resets the session and
// Ctrl+Shift+G the goal (all silent); Ctrl+, asks for the settings, Ctrl+Q quits.
class ActivityViewController : public QWidget, public TaskManagerDelegate {
    Q_OBJECT
public:
    explicit ActivityViewController(ActivityManager& manager, QWidget* parent = nullptr);
    ~ActivityViewController() override;

    void setTransitionDelegate(ContainerTransitionDelegate* delegate);
    // Where the reset advice goes; a modal message box unless replaced.
    PanelActions& panelActions() { return m_actions; }

    std::optional<QString> taskName() const { return m_taskName; }
    // Shows the task with a short fade and hands it to the countdown.
    void setTaskName(const std::optional<QString>& name);
    // The task button's full title (the button elides what does not fit).
    QString taskTitle() const { return m_taskTitle; }
    QPropertyAnimation* taskFade() const { return m_taskFade; }

    // Opens a new menu of timer actions under its header button.
    void showActivitySettings();
    ActivitySettingsViewController* popover() const { return m_popover; }

    void taskChosen(const QString& name) override;
    void taskDeleted(const QString& name) override;
    void taskNameChanged(const QString& oldName, const QString& newName) override;

    ActivityView* activityPomodoro = nullptr;
    SessionView* sessionPomodoro = nullptr;
    SessionView* goalPomodoro = nullptr;
    QWidget* footerView = nullptr;
    QWidget* taskView = nullptr;
    QToolButton* buttonSettings = nullptr;
    QToolButton* buttonAbout = nullptr;
    QToolButton* buttonBitacora = nullptr;
    QToolButton* buttonReport = nullptr;
    QToolButton* buttonThief = nullptr;
    QToolButton* buttonQuit = nullptr;
    QWidget* headerView = nullptr;
    QToolButton* buttonActivitySettings = nullptr;
    QPushButton* buttonSelectedTask = nullptr;
    // Continues another computer's countdown; hidden while there is none.
    QPushButton* buttonContinue = nullptr;

    QAction* actionSwitchTimer = nullptr;
    QAction* actionResetTime = nullptr;
    QAction* actionResetSession = nullptr;
    QAction* actionResetGoal = nullptr;

    // Another computer's countdown can be continued: the header offers it.
    void offerContinue(const QString& deviceName, const QString& task, qint64 remaining);
    void withdrawContinue();

signals:
    void settingsRequested();
    void aboutRequested();
    void logbookRequested();
    void reportRequested();
    void thievesRequested();
    void quitRequested();
    void continueRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildRings();
    QWidget* buildTaskView();
    QWidget* buildFooter();
    QToolButton* iconButton(QWidget* parent, const char* image, const char* tooltipKey);
    QAction* addShortcut(const QKeySequence& keys, std::function<void()> fn);
    void drawTaskButton();
    void showTaskList();

    ActivityManager& m_manager;
    PanelActions m_actions;
    WeakDelegate<ContainerTransitionDelegate> m_transitionDelegate;
    QPointer<ActivitySettingsViewController> m_popover;
    // The control to give the focus back to when the panel shows again.
    QPointer<QWidget> m_returnFocus;
    std::optional<QString> m_taskName;
    QString m_taskTitle;
    QPropertyAnimation* m_taskFade = nullptr;
};
