#pragma once

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include "shell/StatusNotifierTypes.h"

class DBusMenuExporter;
class QMenu;
class StatusNotifierItemAdaptor;

// The tray item as a StatusNotifierItem of our own, so hosts that know the Ayatana label
// show the countdown as text beside the icon, which QSystemTrayIcon cannot ask for.
class StatusNotifierItem : public QObject {
    Q_OBJECT
public:
    static inline const QString kId = QStringLiteral("org.zestra.Zestra");
    static inline const QString kTitle = QStringLiteral("Zestra");
    static inline const QString kItemPath = QStringLiteral("/StatusNotifierItem");
    static inline const QString kMenuPath = QStringLiteral("/MenuBar");
    // The widest label, so hosts reserve its width and the icon does not move each second.
    static inline const QString kLabelGuide = QStringLiteral("00:00");
    static inline const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

    // Claims the service name and exports the item and `menu` on `connection`; show()
    // then announces it to the watcher. A watcher that comes later needs a new item.
    StatusNotifierItem(QDBusConnection connection, QMenu* menu, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // A watcher is running on `connection`, so a host may show the item.
    static bool isWatcherPresent(const QDBusConnection& connection);

    bool isExported() const { return m_exported; }
    bool isRegistered() const { return m_registered; }
    QString serviceName() const { return m_serviceName; }
    void show();

    void setIcon(const QIcon& icon);
    SniPixmapList iconPixmaps() const { return m_pixmaps; }
    // The status item's title, trimmed: the label beside the icon, which its signal carries.
    void setStatusTitle(const QString& title);
    QString statusTitle() const { return m_statusTitle; }
    QString label() const { return m_statusTitle.trimmed(); }
    // Hosts re-read every property, icons included, when the tooltip changes: it says the
    // minutes left, so that happens once a minute rather than every second.
    void setToolTipText(const QString& text);
    QString toolTipText() const { return m_toolTipText; }

    void showContextMenu(const QPoint& position);

signals:
    // A click on the item, where the host says it was (0, 0 when it does not know).
    void activated(const QPoint& at);
    void secondaryActivated();
    // The watcher accepted (true) or refused (false) the item.
    void registrationFinished(bool registered);

private:
    void registerWithWatcher();

    QDBusConnection m_connection;
    QPointer<QMenu> m_menu;
    QString m_serviceName;
    StatusNotifierItemAdaptor* m_adaptor = nullptr;
    DBusMenuExporter* m_menuExporter = nullptr;
    bool m_exported = false;
    bool m_shown = false;
    bool m_registered = false;
    SniPixmapList m_pixmaps;
    QString m_statusTitle;
    QString m_toolTipText;
};
