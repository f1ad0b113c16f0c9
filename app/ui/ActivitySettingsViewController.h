#pragma once

#include <QWidget>

class PanelActions;
class QFrame;
class QPushButton;

// The small menu of timer actions under the panel's header button. It shows as a popup of
// its own and closes after an action; a new one is made each time it opens.
class ActivitySettingsViewController : public QWidget {
    Q_OBJECT
public:
    explicit ActivitySettingsViewController(PanelActions& actions, QWidget* parent = nullptr);

    // Titles and enabled states for the timer as it is now.
    void refresh();
    // Opens with its top right corner under the anchor's bottom right corner.
    void popup(QWidget* anchor);
    // For a menu opened from the keyboard.
    void focusFirstButton();

    QPushButton* buttonResetTimer = nullptr;
    QPushButton* buttonToogleTimer = nullptr;
    QPushButton* buttonResetSession = nullptr;
    QPushButton* buttonResetGoal = nullptr;
    QPushButton* buttonSkipFreeTime = nullptr;
    QPushButton* buttonResetAll = nullptr;
    QFrame* boxOne = nullptr;
    QFrame* boxTwo = nullptr;
    QFrame* boxThree = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setToggleTitle();
    void doResetTimer();
    void doToggleTimer();
    void doResetSession();
    void doResetGoal();
    void doSkipFreeTime();
    void doResetAll();

    PanelActions& m_actions;
};
