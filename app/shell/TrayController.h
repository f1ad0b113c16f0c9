#pragma once

#include <memory>
#include <tuple>

#include <QIcon>
#include <QObject>
#include <QRect>

class ActivityManager;
class QAction;
class QMenu;
class QSystemTrayIcon;
class StatusNotifierItem;

// The tray item: an icon with the minutes left on a progress ring, the exact title as its
// tooltip, and the application's menu. The icon is repainted only when what it shows changes
// (once a minute while counting), since some tray hosts flicker on every change. When a
// StatusNotifierWatcher runs, the item is our own StatusNotifierItem, which also shows the
// title as a text label; otherwise it is a QSystemTrayIcon. Never both: that would show two.
class TrayController : public QObject {
    Q_OBJECT
public:
    explicit TrayController(ActivityManager& manager, QObject* parent = nullptr);
    ~TrayController() override;

    static bool isAvailable();
    void show();
    QRect iconGeometry() const;
    QMenu* menu() const { return m_menu.get(); }
    // What the icon shows now: minutes left (-1 before the first start), phase, paused.
    std::tuple<int, bool, bool> iconState() const;
    QIcon icon() const { return m_icon; }
    int iconUpdates() const { return m_iconUpdates; }

signals:
    void activated();
    void preferencesRequested();
    void aboutRequested();
    void toggleRequested();
    void resetTimerRequested();
    void resetSessionRequested();
    void resetGoalRequested();
    void quitRequested();

private:
    void buildMenu();
    void titleChanged(const QString& title);
    void refreshIcon();

    ActivityManager& m_manager;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_tray = nullptr;
    StatusNotifierItem* m_item = nullptr;
    QAction* m_toggle = nullptr;
    QIcon m_icon;
    std::tuple<int, bool, bool> m_shownState{-2, false, false};
    int m_iconUpdates = 0;
};
