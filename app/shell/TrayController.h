#pragma once

#include <memory>
#include <tuple>

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QRect>

class ActivityManager;
class QAction;
class QDBusServiceWatcher;
class QMenu;
class QSystemTrayIcon;
class StatusNotifierItem;

// The tray item: an icon with the minutes left on a progress ring, the exact title as its
// tooltip, and the application's menu. The icon is repainted only when what it shows changes
// (once a minute while counting), since some tray hosts flicker on every change. When a
// StatusNotifierWatcher runs, the item is our own StatusNotifierItem, which also shows the
// title as a text label; otherwise it is a QSystemTrayIcon. Never both: that would show two.
// The choice follows the watcher: panels usually start after us at login, and may restart.
class TrayController : public QObject {
    Q_OBJECT
public:
    enum class Host { none, statusNotifier, systemTray };

    explicit TrayController(ActivityManager& manager, QObject* parent = nullptr);
    // The watcher is looked for on `bus`.
    TrayController(ActivityManager& manager, QDBusConnection bus, QObject* parent = nullptr);
    ~TrayController() override;

    Host host() const { return m_host; }
    // Some tray shows the item.
    bool isAvailable() const { return m_host != Host::none; }
    StatusNotifierItem* statusNotifierItem() const { return m_item; }
    void show();
    // Where the icon was last seen: the XEmbed icon's geometry, or the point a
    // StatusNotifierItem host gave with its last click (1x1); invalid when unknown.
    QRect iconGeometry() const;
    QMenu* menu() const { return m_menu.get(); }
    // What the icon shows now: minutes left (-1 before the first start), phase, paused.
    std::tuple<int, bool, bool> iconState() const;
    QIcon icon() const { return m_icon; }
    int iconUpdates() const { return m_iconUpdates; }

signals:
    void activated();
    // The tray went away or came back: `host()` tells which one shows the item now.
    void hostChanged();
    void preferencesRequested();
    void aboutRequested();
    void toggleRequested();
    void resetTimerRequested();
    void resetSessionRequested();
    void resetGoalRequested();
    void quitRequested();

private:
    void buildMenu();
    void watcherOwnerChanged(const QString& newOwner);
    void useHost(Host host);
    void titleChanged(const QString& title);
    void refreshIcon();

    ActivityManager& m_manager;
    QDBusConnection m_bus;
    std::unique_ptr<QMenu> m_menu;
    QDBusServiceWatcher* m_watcher = nullptr;
    Host m_host = Host::none;
    QSystemTrayIcon* m_tray = nullptr;
    StatusNotifierItem* m_item = nullptr;
    bool m_shown = false;
    QRect m_clickedAt;
    QAction* m_toggle = nullptr;
    QIcon m_icon;
    // The tooltip of a StatusNotifierItem host: the minutes left, as the icon shows them.
    QString m_toolTipText;
    std::tuple<int, bool, bool> m_shownState{-2, false, false};
    int m_iconUpdates = 0;
};
