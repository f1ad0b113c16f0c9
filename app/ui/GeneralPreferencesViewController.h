#pragma once

#include <QWidget>

#include "ui/GeneralPreferences.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class Settings;

// The General pane of the settings window: every change is written at once, with no Apply.
class GeneralPreferencesViewController : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPreferencesViewController(Settings& settings,
                                              GeneralPreferences::Hooks hooks = {},
                                              QWidget* parent = nullptr);

    // Shows the store's values again, without writing anything back.
    void reload();

    QLabel* labelTaskQuantity = nullptr;
    QLabel* labelGoalTask = nullptr;
    QLabel* labelTaskTimeDescription = nullptr;
    QLabel* labelShortBreakDescription = nullptr;
    QLabel* labelLongBreakDescription = nullptr;
    QLabel* labelAppSettings = nullptr;
    QLabel* labelAdvice = nullptr;
    QComboBox* comboTaskQuantity = nullptr;
    QComboBox* comboGoalTask = nullptr;
    QSlider* sliderTaskTime = nullptr;
    QSlider* sliderShortBreak = nullptr;
    QSlider* sliderLongBreak = nullptr;
    QCheckBox* checkShowDockIcon = nullptr;
    QCheckBox* checkShowNotification = nullptr;
    QCheckBox* checkTaskSound = nullptr;
    QCheckBox* checkBreakSound = nullptr;
    QCheckBox* checkAutoStartPomodoro = nullptr;
    QCheckBox* checkStartAtLaunch = nullptr;

    // The minutes shown beside each slider.
    QLabel* valueTaskTime = nullptr;
    QLabel* valueShortBreak = nullptr;
    QLabel* valueLongBreak = nullptr;

private:
    void buildControls();
    QSlider* addSlider(const GeneralPreferences::MinuteRange& range, const char* key,
                       QLabel* value);
    QCheckBox* addCheck(const char* textKey, const char* settingsKey);
    void showMinutes(QLabel* label, int minutes) const;
    void doShowDockIconCheck(int state);

    GeneralPreferences m_preferences;
    // Filling the controls from the store must not write back.
    bool m_loading = false;
};
