#pragma once

#include <functional>

#include <QWidget>

class QCheckBox;
class QLabel;
class Settings;

// The time-thief pane: whether the user lets the scanner look at the frontmost window.
class ThiefPreferencesViewController : public QWidget {
    Q_OBJECT
public:
    // `scanAllowedChanged` starts or stops the scanner after the choice is stored.
    explicit ThiefPreferencesViewController(
        Settings& settings, std::function<void(bool allowed)> scanAllowedChanged = {},
        std::function<bool()> canSeeFrontmost = {}, QWidget* parent = nullptr);

    void reload();

    QLabel* labelTitle = nullptr;
    QCheckBox* checkAllowScan = nullptr;
    QLabel* labelExplanation = nullptr;
    // Shown on a desktop that does not let Zestra see the frontmost application.
    QLabel* labelUnsupported = nullptr;

private:
    void doAllowScanChecked(int state);

    Settings& m_settings;
    std::function<void(bool)> m_scanAllowedChanged;
    std::function<bool()> m_canSeeFrontmost;
};
