#include "shell/AppDelegate.h"

#include <QApplication>
#include <QToolButton>

#include "NotificationCenter.h"
#include "cloud/CloudNotifications.h"
#include "reports/ReportEngine.h"
#include "services/CloudSession.h"
#include "services/Handoff.h"
#include "services/HandoffExchange.h"
#include "services/NapPrevention.h"
#include "services/StartupHooks.h"
#include "settings/Settings.h"
#include "shell/PopoverWindow.h"
#include "shell/TrayController.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "thieves/DesktopEntryIndex.h"
#include "thieves/ThiefManager.h"
#include "timer/ActivityManager.h"
#include "ui/AboutWindowController.h"
#include "ui/ActivityViewController.h"
#include "ui/BitacoraWindowController.h"
#include "ui/ContainerViewController.h"
#include "ui/MessageBox.h"
#include "ui/MessageViewController.h"
#include "ui/ReportWindowController.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItem.h"
#include "ui/TaskCreatorViewController.h"
#include "ui/TasksViewController.h"
#include "ui/ThiefOnboardingWindowController.h"
#include "ui/ThiefWindowController.h"

namespace {

void bringForward(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

AppDelegate::AppDelegate()
    : AppDelegate(Services{})
{}

AppDelegate::AppDelegate(Services services)
    : m_store(services.store ? *services.store : DataController::sharedInstance())
    , m_manager(services.manager)
    , m_thieves(services.thieves)
{
    Settings::shared().registerApplicationDefaults();
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    StatusItem::shared().setTitle(QStringLiteral("--:--"));
}

AppDelegate::~AppDelegate()
{
    applicationShouldTerminate();
}

void AppDelegate::applicationDidFinishLaunching()
{
    // It lives in the tray: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    m_napPrevention = std::make_unique<NapPrevention>();
    m_napPrevention->begin();

    StartupHooks::Thieves thiefHooks;
    thiefHooks.startScan = [this] { thieves().startThiefScan(); };
    thiefHooks.showOnboarding = [this] { showThiefOnboarding(); };
    // A manager never made has nothing in progress to store.
    thiefHooks.saveBeforeTerminate = [this] {
        if (m_thieves)
            m_thieves->saveBeforeTerminate();
    };
    m_hooks = std::make_unique<StartupHooks>(m_store, std::move(thiefHooks));
    m_hooks->runAtLaunch();
    m_cloud = std::make_unique<CloudSession>(m_store, Settings::shared());
    connect(m_cloud.get(), &CloudSession::accountChecked, this, [this](bool available) {
        if (available)
            return;
        NotificationCenter::defaultCenter().post(QStringLiteral("ZestraCloudAccountChanged"));
        MessageBox::information(nullptr, {Localization::text("ICLOUD_ALERT_TITLE"),
                                          Localization::text("ICLOUD_ALERT_MESSAGE"),
                                          Localization::text("ICLOUD_ALERT_BUTTON_CLOSE")});
    });
    m_cloud->start();

    if (!m_manager)
        m_manager = &ActivityManager::shared();
    m_tray = std::make_unique<TrayController>(*m_manager);
    wireMenu();
    m_tray->show();

    buildPopover();
    // Opened unasked at every launch, so the window the user is typing in keeps the keyboard.
    m_popover->showWithoutFocus(m_tray->iconGeometry());

    m_manager->launch();
    m_handoff = std::make_unique<HandoffExchange>(*m_manager, Settings::shared());
    connect(m_handoff.get(), &HandoffExchange::offerFound, m_panel,
            &ActivityViewController::offerContinue);
    connect(m_handoff.get(), &HandoffExchange::noOffer, m_panel,
            &ActivityViewController::withdrawContinue);
    connect(m_panel, &ActivityViewController::continueRequested, m_handoff.get(),
            [this] { m_handoff->continueOffer(); });
    m_handoff->publish();
    m_handoff->lookForOffer();
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { applicationShouldTerminate(); });
}

void AppDelegate::buildPopover()
{
    ContainerViewController::Services containerServices;
    containerServices.iCloudConnectionOnline = [this](std::function<void(bool)> answer) {
        if (m_cloud)
            m_cloud->checkAccount(std::move(answer));
        else
            answer(true);
    };
    m_container = new ContainerViewController(containerServices);
    m_panel = new ActivityViewController(*m_manager);
    m_tasks = new TasksViewController(m_store);
    auto* creator = new TaskCreatorViewController(m_store);
    m_panel->setTransitionDelegate(m_container);
    m_tasks->setTransitionDelegate(m_container);
    m_tasks->setDelegate(m_panel);
    creator->setTransitionDelegate(m_container);
    creator->setDelegate(m_tasks);
    m_container->setScreens(m_panel, m_tasks, creator, new MessageViewController);
    m_container->setEditTask([creator](const QString& name) { creator->editTask(name); });
    connect(m_panel, &ActivityViewController::thievesRequested, this,
            &AppDelegate::doThievesAction);
    connect(m_panel, &ActivityViewController::logbookRequested, this,
            &AppDelegate::doLogbookAction);
    connect(m_panel, &ActivityViewController::reportRequested, this, [this] { doReportAction(); });
    connect(m_panel, &ActivityViewController::settingsRequested, this,
            &AppDelegate::doPreferencesMenuAction);
    connect(m_panel, &ActivityViewController::aboutRequested, this,
            &AppDelegate::doAboutMenuAction);
    connect(m_panel, &ActivityViewController::quitRequested, this, &AppDelegate::quit);

    m_popover = std::make_unique<PopoverWindow>(m_container, wantsOrdinaryWindow());
}

void AppDelegate::wireMenu()
{
    connect(m_tray.get(), &TrayController::activated, this, &AppDelegate::tooglePopover);
    connect(m_tray.get(), &TrayController::preferencesRequested, this,
            &AppDelegate::doPreferencesMenuAction);
    connect(m_tray.get(), &TrayController::aboutRequested, this, &AppDelegate::doAboutMenuAction);
    connect(m_tray.get(), &TrayController::toggleRequested, this, &AppDelegate::doPauseResumeTimer);
    connect(m_tray.get(), &TrayController::resetTimerRequested, this, &AppDelegate::doResetTimer);
    connect(m_tray.get(), &TrayController::resetSessionRequested, this,
            &AppDelegate::doResetSession);
    connect(m_tray.get(), &TrayController::resetGoalRequested, this, &AppDelegate::doResetGoal);
    connect(m_tray.get(), &TrayController::quitRequested, this, &AppDelegate::quit);
    connect(m_tray.get(), &TrayController::hostChanged, this, &AppDelegate::trayHostChanged);
}

bool AppDelegate::wantsOrdinaryWindow() const
{
    return !m_tray || !m_tray->isAvailable() ||
           Settings::shared().boolValue(QLatin1String(Settings::ShowDockIcon));
}

void AppDelegate::trayHostChanged()
{
    if (!m_popover)
        return;
    m_popover->setOrdinaryWindow(wantsOrdinaryWindow());
    // Without any tray the window is the only way in, so it comes up, as at launch.
    if (!m_tray->isAvailable())
        m_popover->showWithoutFocus(QRect());
}

void AppDelegate::tooglePopover()
{
    // Another computer may have gone on with a countdown since the popover was last open.
    if (m_handoff && !isPopoverShown())
        m_handoff->lookForOffer();
    if (m_popover)
        m_popover->toggleUnder(m_tray ? m_tray->iconGeometry() : QRect());
}

bool AppDelegate::isPopoverShown() const
{
    return m_popover && m_popover->isVisible();
}

void AppDelegate::showPopover()
{
    if (m_handoff && !isPopoverShown())
        m_handoff->lookForOffer();
    if (m_popover && !m_popover->isVisible())
        m_popover->showUnder(m_tray ? m_tray->iconGeometry() : QRect());
    else if (m_popover)
        m_popover->activateWindow();
}

bool AppDelegate::applyDockIcon(bool show)
{
    // With the taskbar entry the popover becomes an ordinary window; without a tray it stays one.
    if (m_popover)
        m_popover->setOrdinaryWindow(show || !m_tray || !m_tray->isAvailable());
    return true;
}

void AppDelegate::doPreferencesMenuAction()
{
    if (!m_settings) {
        SettingsWindowController::Hooks hooks;
        hooks.general.sessionTotalChanged = [this](int n) { m_manager->setSessionTotal(n); };
        hooks.general.goalTotalChanged = [this](int n) { m_manager->setGoalTotal(n); };
        hooks.general.applyDockIcon = [this](bool show) { return applyDockIcon(show); };
        hooks.scanAllowedChanged = [this](bool allowed) {
            if (allowed)
                thieves().startThiefScan();
            else
                thieves().stopThiefScan();
        };
        hooks.canSeeFrontmost = [this] { return thieves().canSeeFrontmostApplication(); };
        hooks.cloud.syncNow = [this] {
            if (m_cloud)
                m_cloud->syncNow();
        };
        hooks.cloud.connectionChanged = [this] {
            if (m_cloud)
                m_cloud->start();
            if (m_handoff)
                m_handoff->reconnect();
            NotificationCenter::defaultCenter().post(QStringLiteral("ZestraCloudAccountChanged"));
        };
        m_settings = std::make_unique<SettingsWindowController>(Settings::shared(), hooks);
    }
    bringForward(m_settings.get());
}

void AppDelegate::doAboutMenuAction()
{
    if (!m_about)
        m_about = std::make_unique<AboutWindowController>();
    bringForward(m_about.get());
}

void AppDelegate::doLogbookAction()
{
    if (!m_logbook) {
        m_logbook = std::make_unique<BitacoraWindowController>(m_store);
        connect(m_logbook.get(), &BitacoraWindowController::reportRequested, this,
                [this](Date day) { doReportAction(day); });
    }
    bringForward(m_logbook.get());
}

void AppDelegate::doReportAction(std::optional<Date> day)
{
    // The web view's plugin is loaded by the window's first show, not before.
    if (!m_report)
        m_report = std::make_unique<ReportWindowController>(ReportEngine::sharedEngine(), m_store);
    m_report->showReport(day);
}

void AppDelegate::doThievesAction()
{
    if (!m_thiefWindow) {
        m_thiefWindow = std::make_unique<ThiefWindowController>(m_store, [] {
            DesktopEntryIndex index;
            return index.installed();
        });
        connect(m_thiefWindow.get(), &ThiefWindowController::reportRequested, this,
                [this](Date day) { doReportAction(day); });
        connect(m_thiefWindow.get(), &ThiefWindowController::settingsRequested, this,
                &AppDelegate::doPreferencesMenuAction);
    }
    bringForward(m_thiefWindow.get());
}

void AppDelegate::showThiefOnboarding()
{
    if (!m_onboarding)
        m_onboarding = std::make_unique<ThiefOnboardingWindowController>(
            Settings::shared(), [this] { thieves().startThiefScan(); },
            thieves().canSeeFrontmostApplication());
    bringForward(m_onboarding.get());
}

ThiefManager& AppDelegate::thieves()
{
    if (!m_thieves)
        m_thieves = &ThiefManager::shared();
    return *m_thieves;
}

void AppDelegate::doPauseResumeTimer()
{
    m_panel->panelActions().toggleTimer();
}

void AppDelegate::doResetTimer()
{
    m_panel->panelActions().resetTimer(true);
}

void AppDelegate::doResetSession()
{
    m_panel->panelActions().resetSession(true);
}

void AppDelegate::doResetGoal()
{
    m_panel->panelActions().resetGoal(true);
}

void AppDelegate::toggle()
{
    doPauseResumeTimer();
}

void AppDelegate::resetTimer()
{
    doResetTimer();
}

void AppDelegate::skipFreeTime()
{
    m_panel->panelActions().skipFreeTime();
}

void AppDelegate::resetSession()
{
    m_panel->panelActions().resetSession(false);
}

void AppDelegate::resetGoal()
{
    m_panel->panelActions().resetGoal(false);
}

void AppDelegate::quit()
{
    applicationShouldTerminate();
    // Not quit(): that asks every window to close, and one that refuses would cancel a quit
    // whose shutdown has already run. exit() ends every event loop, modal ones included.
    QCoreApplication::exit(0);
}

QVariantMap AppDelegate::state()
{
    QVariantMap state = Handoff::userInfo(*m_manager);
    state.insert(QStringLiteral("remaining"), m_manager->activityPomodoro().remaining());
    state.insert(QStringLiteral("status_title"), StatusItem::shared().title());
    return state;
}

bool AppDelegate::continueCountdown(const QVariantMap& userInfo)
{
    return Handoff::restore(*m_manager, userInfo);
}

bool AppDelegate::willContinueUserActivity(const QString& type)
{
    return type == Handoff::activityType();
}

bool AppDelegate::continueUserActivity(const QString& type, const QVariantMap& userInfo)
{
    if (willContinueUserActivity(type))
        Handoff::restore(*m_manager, userInfo);
    return true;
}

bool AppDelegate::applicationShouldTerminate()
{
    if (m_terminated)
        return true;
    m_terminated = true;
    if (m_hooks)
        m_hooks->runBeforeQuit();
    // The engine finishes the writes it started before the store is saved and closed.
    m_cloud.reset();
    m_store.saveContext();
    if (m_napPrevention)
        m_napPrevention->release();
    return true;
}
