#include "shell/TrayController.h"

#include <QDBusConnection>
#include <QMenu>
#include <QSystemTrayIcon>

#include "shell/StatusNotifierItem.h"
#include "store/Localization.h"
#include "timer/ActivityManager.h"
#include "ui/StatusItem.h"
#include "ui/TrayIconPainter.h"

TrayController::TrayController(ActivityManager& manager, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
    , m_menu(std::make_unique<QMenu>())
{
    buildMenu();
    if (StatusNotifierItem::isWatcherPresent(QDBusConnection::sessionBus())) {
        m_item = new StatusNotifierItem(QDBusConnection::sessionBus(), m_menu.get(), this);
        connect(m_item, &StatusNotifierItem::activated, this, &TrayController::activated);
    } else if (QSystemTrayIcon::isSystemTrayAvailable()) {
        m_tray = new QSystemTrayIcon(this);
        // Hosts that hide items without a menu still show this one.
        m_tray->setContextMenu(m_menu.get());
        connect(m_tray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger ||
                        reason == QSystemTrayIcon::DoubleClick)
                        emit activated();
                });
    }
    connect(&StatusItem::shared(), &StatusItem::titleChanged, this, &TrayController::titleChanged);
    titleChanged(StatusItem::shared().title());
}

TrayController::~TrayController() = default;

bool TrayController::isAvailable()
{
    return StatusNotifierItem::isWatcherPresent(QDBusConnection::sessionBus()) ||
           QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayController::buildMenu()
{
    auto add = [this](const char* key, void (TrayController::*signal)()) {
        QAction* action = m_menu->addAction(Localization::text(key));
        connect(action, &QAction::triggered, this, signal);
        return action;
    };
    add("MAIN_MENU_SHOW", &TrayController::activated);
    m_menu->addSeparator();
    m_toggle = add("MAIN_MENU_PAUSE", &TrayController::toggleRequested);
    add("MAIN_MENU_RESET_TIMER", &TrayController::resetTimerRequested);
    add("MAIN_MENU_RESET_SESSION", &TrayController::resetSessionRequested);
    add("MAIN_MENU_RESET_GOAL", &TrayController::resetGoalRequested);
    m_menu->addSeparator();
    add("MAIN_MENU_PREFERENCES", &TrayController::preferencesRequested);
    add("MAIN_MENU_ABOUT", &TrayController::aboutRequested);
    m_menu->addSeparator();
    add("MAIN_MENU_QUIT", &TrayController::quitRequested);
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] {
        m_toggle->setText(Localization::text(
            m_manager.activityPomodoro().isRunning() ? "MAIN_MENU_PAUSE" : "MAIN_MENU_RESUME"));
    });
}

void TrayController::show()
{
    if (m_item)
        m_item->show();
    if (m_tray)
        m_tray->show();
}

QRect TrayController::iconGeometry() const
{
    // A StatusNotifierItem never learns where the host draws it.
    return m_tray ? m_tray->geometry() : QRect();
}

std::tuple<int, bool, bool> TrayController::iconState() const
{
    const Activity& activity = m_manager.activityPomodoro();
    const bool started = activity.state().has_value();
    // Minutes begun, as people count them: 24:59 left reads 25, the last minute reads 1.
    const int minutes = started ? (activity.remaining() + 59) / 60 : -1;
    return {minutes, !activity.onActivity(), activity.state() == Activity::State::stopped};
}

void TrayController::titleChanged(const QString& title)
{
    if (m_tray)
        m_tray->setToolTip(QStringLiteral("Zestra") + title);
    if (m_item)
        m_item->setStatusTitle(title);
    refreshIcon();
}

void TrayController::refreshIcon()
{
    const auto state = iconState();
    if (state == m_shownState)
        return;
    m_shownState = state;
    const auto [minutes, freeTime, paused] = state;
    const Activity& activity = m_manager.activityPomodoro();
    const double progress = activity.totaltime() > 0
                                ? static_cast<double>(activity.timelapse()) / activity.totaltime()
                                : 0.0;
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(
            QPixmap::fromImage(TrayIconPainter::paint(size, minutes, progress, freeTime, paused)));
    m_icon = icon;
    ++m_iconUpdates;
    if (m_tray)
        m_tray->setIcon(icon);
    if (m_item)
        m_item->setIcon(icon);
}
