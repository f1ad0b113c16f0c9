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
        QWidget* parent = nullptr);

    void reload();

    QLabel* labelTitle = nullptr;
    QCheckBox* checkAllowScan = nullptr;
    QLabel* labelExplanation = nullptr;

private:
    void doAllowScanChecked(int state);

    Settings& m_settings;
    std::function<void(bool)> m_scanAllowedChanged;
};
