#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "ui/CloudPreferencesViewController.h"
#include "ui/GeneralPreferences.h"

class QStackedWidget;
class QToolButton;
class Settings;
class GeneralPreferencesViewController;
class ThiefPreferencesViewController;

// The settings window: a row of pane buttons (General, Time Thieves, Cloud) over the pane
// they choose. It opens on the time-thief pane.
class SettingsWindowController : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        GeneralPreferences::Hooks general;
        std::function<void(bool allowed)> scanAllowedChanged;
        // Whether this desktop lets the scanner see the frontmost application.
        std::function<bool()> canSeeFrontmost;
        CloudPreferencesViewController::Hooks cloud;
    };

    explicit SettingsWindowController(Settings& settings, Hooks hooks = {},
                                      QWidget* parent = nullptr);

    void handleGeneralPreferencesButtonClick();
    void handleThiefPreferencesButtonClick();
    void handleCloudPreferencesButtonClick();

    QWidget* content() const;

    QPointer<GeneralPreferencesViewController> viewcontrollerGeneral;
    QPointer<ThiefPreferencesViewController> viewcontrollerThief;
    QPointer<CloudPreferencesViewController> viewcontrollerCloud;
    QToolButton* buttonGeneral = nullptr;
    QToolButton* buttonThief = nullptr;
    QToolButton* buttonCloud = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void showPane(QWidget* pane, QToolButton* button);
    void tintButtons();

    QStackedWidget* m_stack = nullptr;
};
