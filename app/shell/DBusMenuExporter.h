#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVariant>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include "shell/StatusNotifierTypes.h"

class QAction;
class QMenu;

// Serves a QMenu as com.canonical.dbusmenu, the menu that StatusNotifierItem hosts draw
// themselves. The menu is served flat: its actions and separators, no submenus.
class DBusMenuExporter : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
public:
    DBusMenuExporter(QDBusConnection connection, QString objectPath, QMenu* menu,
                     QObject* parent = nullptr);
    ~DBusMenuExporter() override;

    bool isRegistered() const { return m_registered; }
    QString objectPath() const { return m_objectPath; }
    uint revision() const { return m_revision; }

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   DBusMenuLayoutItem& layout);
    DBusMenuItemList GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const DBusMenuEventList& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    void LayoutUpdated(uint revision, int parent);
    void ItemsPropertiesUpdated(const DBusMenuItemList& updatedProps,
                                const DBusMenuItemKeysList& removedProps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int idOf(QAction* action);
    QAction* actionOf(int id) const;
    QVariantMap propertiesOf(int id, const QStringList& names) const;
    bool knows(int id) const { return id == 0 || actionOf(id) != nullptr; }
    bool handleEvent(int id, const QString& eventId);
    void menuChanged(QAction* changed, bool layoutChanged);
    void flush();

    QDBusConnection m_connection;
    QString m_objectPath;
    QPointer<QMenu> m_menu;
    bool m_registered = false;
    uint m_revision = 1;
    int m_lastId = 0;
    QHash<QAction*, int> m_ids;
    QHash<int, QPointer<QAction>> m_actions;
    bool m_flushPending = false;
    QSet<int> m_changedIds;
};
