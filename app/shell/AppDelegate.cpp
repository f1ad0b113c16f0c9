#include "shell/AppDelegate.h"

#include <QCoreApplication>
#include <QToolButton>

#include "NotificationCenter.h"
#include "services/Handoff.h"
#include "services/NapPrevention.h"
#include "services/StartupHooks.h"
#include "settings/Settings.h"
#include "shell/PopoverWindow.h"
#include "shell/TrayController.h"
#include "store/DataController.h"
#include "store/Localization.h"
#include "timer/ActivityManager.h"
#include "ui/AboutWindowController.h"
#include "ui/ActivityViewController.h"
#include "ui/ContainerViewController.h"
#include "ui/MessageViewController.h"
#include "ui/SettingsWindowController.h"
#include "ui/StatusItem.h"
#include "ui/TaskCreatorViewController.h"
#include "ui/TasksViewController.h"

AppDelegate::AppDelegate()
    : AppDelegate(Services{})
{}

AppDelegate::AppDelegate(Services services)
    : m_store(services.store ? *services.store : DataController::sharedInstance())
    , m_manager(services.manager)
    , m_services(std::move(services))
{
    Settings::shared().registerApplicationDefaults();
    Localization::addCatalogues(QStringLiteral(":/zestra/i18n"));
    if (!m_services.exit)
        m_services.exit = [] { QCoreApplication::quit(); };
    StatusItem::shared().setTitle(QStringLiteral("--:--"));
}

AppDelegate::~AppDelegate()
{
    applicationShouldTerminate();
}

void AppDelegate::applicationDidFinishLaunching()
{
    m_napPrevention = std::make_unique<NapPrevention>();
    m_napPrevention->begin();

    m_hooks = std::make_unique<StartupHooks>(m_store);
    m_hooks->runAtLaunch();

    if (!m_manager)
        m_manager = &ActivityManager::shared();
    m_tray = std::make_unique<TrayController>(*m_manager);
    wireMenu();
    m_tray->show();

    buildPopover();
    tooglePopover();

    m_manager->launch();
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { applicationShouldTerminate(); });
}

void AppDelegate::buildPopover()
{
    m_container = new ContainerViewController;
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
    // Windows that come with later releases have no button yet.
    for (QToolButton* later :
         {m_panel->buttonBitacora, m_panel->buttonReport, m_panel->buttonThief})
        later->hide();
    connect(m_panel, &ActivityViewController::settingsRequested, this,
            &AppDelegate::doPreferencesMenuAction);
    connect(m_panel, &ActivityViewController::aboutRequested, this,
            &AppDelegate::doAboutMenuAction);
    connect(m_panel, &ActivityViewController::quitRequested, this, &AppDelegate::quit);

    const bool ordinary = !TrayController::isAvailable() ||
                          Settings::shared().boolValue(QLatin1String(Settings::ShowDockIcon));
    m_popover = std::make_unique<PopoverWindow>(m_container, ordinary);
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
}

void AppDelegate::tooglePopover()
{
    if (m_popover)
        m_popover->toggleUnder(m_tray ? m_tray->iconGeometry() : QRect());
}

bool AppDelegate::isPopoverShown() const
{
    return m_popover && m_popover->isVisible();
}

void AppDelegate::showPopover()
{
    if (m_popover && !m_popover->isVisible())
        m_popover->showUnder(m_tray ? m_tray->iconGeometry() : QRect());
    else if (m_popover)
        m_popover->activateWindow();
}

bool AppDelegate::applyDockIcon(bool show)
{
    // With the taskbar entry the popover becomes an ordinary window; without a tray it stays one.
    if (m_popover)
        m_popover->setOrdinaryWindow(show || !TrayController::isAvailable());
    return true;
}

void AppDelegate::doPreferencesMenuAction()
{
    if (!m_settings) {
        SettingsWindowController::Hooks hooks;
        hooks.general.sessionTotalChanged = [this](int n) { m_manager->setSessionTotal(n); };
        hooks.general.goalTotalChanged = [this](int n) { m_manager->setGoalTotal(n); };
        hooks.general.applyDockIcon = [this](bool show) { return applyDockIcon(show); };
        m_settings = std::make_unique<SettingsWindowController>(Settings::shared(), hooks);
    }
    m_settings->show();
    m_settings->raise();
    m_settings->activateWindow();
}

void AppDelegate::doAboutMenuAction()
{
    if (!m_about)
        m_about = std::make_unique<AboutWindowController>();
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
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
    m_services.exit();
}

QVariantMap AppDelegate::state()
{
    QVariantMap state = Handoff::userInfo(*m_manager);
    state.insert(QStringLiteral("remaining"), m_manager->activityPomodoro().remaining());
    state.insert(QStringLiteral("status_title"), StatusItem::shared().title());
    return state;
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
    m_store.saveContext();
    if (m_napPrevention)
        m_napPrevention->release();
    return true;
}
