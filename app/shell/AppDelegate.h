#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QVariantMap>

#include "services/TimerControl.h"
#include "store/Date.h"

class AboutWindowController;
class ActivityManager;
class BitacoraWindowController;
class ActivityViewController;
class ContainerViewController;
class DataController;
class CloudSession;
class HandoffExchange;
class NapPrevention;
class PopoverWindow;
class ReportWindowController;
class SettingsWindowController;
class StartupHooks;
class TasksViewController;
class ThiefManager;
class ThiefOnboardingWindowController;
class ThiefWindowController;
class TrayController;

// The application's coordinator: it starts everything in its order, owns the tray item and
// the popover, carries the menu actions, and saves at quit.
class AppDelegate : public QObject, public TimerControl {
    Q_OBJECT
public:
    struct Services {
        DataController* store = nullptr;
        ActivityManager* manager = nullptr;
        // The shared manager, made when first needed, when none is given.
        ThiefManager* thieves = nullptr;
    };

    // Registers the settings defaults.
    AppDelegate();
    explicit AppDelegate(Services services);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    // Saves and lets go of the nap-prevention lock; answers that the application may end.
    bool applicationShouldTerminate();

    void tooglePopover();
    bool isPopoverShown() const;

    // The menu actions.
    void doPreferencesMenuAction();
    void doAboutMenuAction();
    void doLogbookAction();
    // Absent: today.
    void doReportAction(std::optional<Date> day = std::nullopt);
    void doThievesAction();
    void showThiefOnboarding();
    void doPauseResumeTimer();
    void doResetTimer();
    void doResetSession();
    void doResetGoal();

    // A countdown handed over from another computer.
    static bool willContinueUserActivity(const QString& type);
    bool continueUserActivity(const QString& type, const QVariantMap& userInfo);

    // TimerControl: the menu actions for other programs, without the alerts.
    void toggle() override;
    void resetTimer() override;
    void skipFreeTime() override;
    void resetSession() override;
    void resetGoal() override;
    void showPopover() override;
    // Saves, then leaves the event loop whatever the open windows say.
    void quit() override;
    QVariantMap state() override;
    bool continueCountdown(const QVariantMap& userInfo) override;

    ActivityManager& manager() { return *m_manager; }
    ContainerViewController* container() const { return m_container; }
    ActivityViewController* activityPanel() const { return m_panel; }
    TrayController* tray() const { return m_tray.get(); }
    PopoverWindow* popover() const { return m_popover.get(); }
    SettingsWindowController* settingsWindow() const { return m_settings.get(); }
    BitacoraWindowController* logbookWindow() const { return m_logbook.get(); }
    ReportWindowController* reportWindow() const { return m_report.get(); }
    ThiefWindowController* thiefWindow() const { return m_thiefWindow.get(); }
    ThiefOnboardingWindowController* thiefOnboarding() const { return m_onboarding.get(); }
    CloudSession* cloud() const { return m_cloud.get(); }

private:
    void buildPopover();
    void wireMenu();
    bool applyDockIcon(bool show);
    void trayHostChanged();
    bool wantsOrdinaryWindow() const;
    // Made on first use: after the launch's import, so it knows the preloaded browsers.
    ThiefManager& thieves();

    DataController& m_store;
    ActivityManager* m_manager;
    std::unique_ptr<NapPrevention> m_napPrevention;
    std::unique_ptr<StartupHooks> m_hooks;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<PopoverWindow> m_popover;
    // Owned by the popover window.
    ContainerViewController* m_container = nullptr;
    ActivityViewController* m_panel = nullptr;
    TasksViewController* m_tasks = nullptr;
    std::unique_ptr<SettingsWindowController> m_settings;
    std::unique_ptr<AboutWindowController> m_about;
    std::unique_ptr<BitacoraWindowController> m_logbook;
    std::unique_ptr<ReportWindowController> m_report;
    std::unique_ptr<ThiefWindowController> m_thiefWindow;
    std::unique_ptr<ThiefOnboardingWindowController> m_onboarding;
    ThiefManager* m_thieves;
    std::unique_ptr<HandoffExchange> m_handoff;
    std::unique_ptr<CloudSession> m_cloud;
    bool m_terminated = false;
};
