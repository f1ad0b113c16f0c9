#include "shell/TrayController.h"

#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>

#include "shell/StatusNotifierItem.h"
#include "store/Localization.h"
#include "timer/ActivityManager.h"
#include "ui/StatusItem.h"
#include "ui/TrayIconPainter.h"

namespace {

QString toolTip(const QString& title)
{
    return QStringLiteral("Zestra ") + title.trimmed();
}

} // namespace

TrayController::TrayController(ActivityManager& manager, QObject* parent)
    : TrayController(manager, QDBusConnection::sessionBus(), parent)
{}

TrayController::TrayController(ActivityManager& manager, QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
    , m_bus(std::move(bus))
    , m_menu(std::make_unique<QMenu>())
{
    buildMenu();
    if (m_bus.isConnected()) {
        m_watcher = new QDBusServiceWatcher(StatusNotifierItem::kWatcherService, m_bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& newOwner) {
                    watcherOwnerChanged(newOwner);
                });
    }
    if (StatusNotifierItem::isWatcherPresent(m_bus))
        useHost(Host::statusNotifier);
    else if (QSystemTrayIcon::isSystemTrayAvailable())
        useHost(Host::systemTray);
    connect(&StatusItem::shared(), &StatusItem::titleChanged, this, &TrayController::titleChanged);
    titleChanged(StatusItem::shared().title());
}

TrayController::~TrayController() = default;

void TrayController::watcherOwnerChanged(const QString& newOwner)
{
    if (!newOwner.isEmpty()) {
        // A new watcher knows nothing of an item registered with the one before.
        useHost(Host::none);
        useHost(Host::statusNotifier);
    } else {
        useHost(QSystemTrayIcon::isSystemTrayAvailable() ? Host::systemTray : Host::none);
    }
    emit hostChanged();
}

void TrayController::useHost(Host host)
{
    if (host == m_host)
        return;
    delete m_item;
    m_item = nullptr;
    delete m_tray;
    m_tray = nullptr;
    m_clickedAt = QRect();
    m_host = host;
    if (host == Host::statusNotifier) {
        m_item = new StatusNotifierItem(m_bus, m_menu.get(), this);
        connect(m_item, &StatusNotifierItem::activated, this, [this](const QPoint& at) {
            // Hosts that do not know where they drew the item say (0, 0).
            m_clickedAt = at.isNull() ? QRect() : QRect(at, QSize(1, 1));
            emit activated();
        });
        m_item->setStatusTitle(StatusItem::shared().title());
        m_item->setToolTipText(m_toolTipText);
        if (!m_icon.isNull())
            m_item->setIcon(m_icon);
    } else if (host == Host::systemTray) {
        m_tray = new QSystemTrayIcon(this);
        // Hosts that hide items without a menu still show this one.
        m_tray->setContextMenu(m_menu.get());
        m_tray->setToolTip(toolTip(StatusItem::shared().title()));
        if (!m_icon.isNull())
            m_tray->setIcon(m_icon);
        connect(m_tray, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger ||
                        reason == QSystemTrayIcon::DoubleClick)
                        emit activated();
                });
    }
    if (m_shown)
        show();
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
    m_shown = true;
    if (m_item)
        m_item->show();
    if (m_tray)
        m_tray->show();
}

QRect TrayController::iconGeometry() const
{
    if (m_tray && m_tray->geometry().isValid())
        return m_tray->geometry();
    return m_clickedAt;
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
        m_tray->setToolTip(toolTip(title));
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

    if (paused)
        m_toolTipText = Localization::text("TRAY_TOOLTIP_PAUSED");
    else if (minutes < 0)
        m_toolTipText = StatusItem::shared().title().trimmed();
    else
        m_toolTipText = Localization::text(freeTime ? "TRAY_TOOLTIP_BREAK_MINUTES"
                                                    : "TRAY_TOOLTIP_TASK_MINUTES")
                            .arg(minutes);
    if (m_item)
        m_item->setToolTipText(m_toolTipText);
}
