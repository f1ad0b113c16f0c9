#include "shell/DBusMenuExporter.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

namespace {

// Qt marks mnemonics with '&', dbusmenu with '_'.
QString dbusMenuLabel(const QString& text)
{
    QString label;
    label.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'_') {
            label += QStringLiteral("__");
        } else if (c == u'&') {
            if (i + 1 < text.size() && text.at(i + 1) == u'&') {
                label += u'&';
                ++i;
            } else {
                label += u'_';
            }
        } else {
            label += c;
        }
    }
    return label;
}

} // namespace

DBusMenuExporter::DBusMenuExporter(QDBusConnection connection, QString objectPath, QMenu* menu,
                                   QObject* parent)
    : QObject(parent)
    , m_connection(std::move(connection))
    , m_objectPath(std::move(objectPath))
    , m_menu(menu)
{
    registerStatusNotifierTypes();
    if (m_menu)
        m_menu->installEventFilter(this);
    m_registered = m_connection.isConnected() &&
                   m_connection.registerObject(m_objectPath, this,
                                               QDBusConnection::ExportAllSlots |
                                                   QDBusConnection::ExportAllSignals |
                                                   QDBusConnection::ExportAllProperties);
}

DBusMenuExporter::~DBusMenuExporter()
{
    if (m_registered)
        m_connection.unregisterObject(m_objectPath);
}

QString DBusMenuExporter::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

int DBusMenuExporter::idOf(QAction* action)
{
    auto it = m_ids.constFind(action);
    if (it != m_ids.constEnd())
        return *it;
    const int id = ++m_lastId;
    m_ids.insert(action, id);
    m_actions.insert(id, action);
    connect(action, &QObject::destroyed, this, [this, action, id] {
        m_ids.remove(action);
        m_actions.remove(id);
    });
    return id;
}

QAction* DBusMenuExporter::actionOf(int id) const
{
    return m_actions.value(id).data();
}

QVariantMap DBusMenuExporter::propertiesOf(int id, const QStringList& names) const
{
    QVariantMap properties;
    if (id == 0) {
        properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (QAction* action = actionOf(id)) {
        if (action->isSeparator()) {
            properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            properties.insert(QStringLiteral("label"), dbusMenuLabel(action->text()));
            if (action->isCheckable()) {
                properties.insert(QStringLiteral("toggle-type"),
                                  action->actionGroup() && action->actionGroup()->isExclusive()
                                      ? QStringLiteral("radio")
                                      : QStringLiteral("checkmark"));
                properties.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
            }
        }
        properties.insert(QStringLiteral("enabled"), action->isEnabled());
        properties.insert(QStringLiteral("visible"), action->isVisible());
    }
    if (names.isEmpty())
        return properties;
    QVariantMap asked;
    for (const QString& name : names)
        if (properties.contains(name))
            asked.insert(name, properties.value(name));
    return asked;
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayoutItem& layout)
{
    if (!knows(parentId)) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("Unknown menu item %1").arg(parentId));
        return 0;
    }
    layout = {parentId, propertiesOf(parentId, propertyNames), {}};
    if (parentId == 0 && recursionDepth != 0 && m_menu) {
        for (QAction* action : m_menu->actions()) {
            const int id = idOf(action);
            layout.children.append({id, propertiesOf(id, propertyNames), {}});
        }
    }
    return m_revision;
}

DBusMenuItemList DBusMenuExporter::GetGroupProperties(const QList<int>& ids,
                                                      const QStringList& propertyNames)
{
    DBusMenuItemList items;
    for (int id : ids)
        if (knows(id))
            items.append({id, propertiesOf(id, propertyNames)});
    return items;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name)
{
    const QVariantMap properties = propertiesOf(id, {name});
    if (!knows(id) || !properties.contains(name)) {
        sendErrorReply(QDBusError::InvalidArgs,
                       QStringLiteral("No property %1 on menu item %2").arg(name).arg(id));
        return QDBusVariant(QVariant(0));
    }
    return QDBusVariant(properties.value(name));
}

bool DBusMenuExporter::handleEvent(int id, const QString& eventId)
{
    if (!knows(id))
        return false;
    if (id == 0) {
        // Some hosts say "opened" instead of calling AboutToShow.
        if (m_menu && eventId == QLatin1String("opened"))
            emit m_menu->aboutToShow();
        else if (m_menu && eventId == QLatin1String("closed"))
            emit m_menu->aboutToHide();
        return true;
    }
    if (eventId == QLatin1String("clicked")) {
        // Queued: the action may quit or open a window, which must not happen inside the
        // host's call.
        QPointer<QAction> action = actionOf(id);
        QTimer::singleShot(0, this, [action] {
            if (action && action->isEnabled())
                action->trigger();
        });
    }
    return true;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant& data,
                             uint timestamp)
{
    Q_UNUSED(data);
    Q_UNUSED(timestamp);
    handleEvent(id, eventId);
}

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList& events)
{
    QList<int> idErrors;
    for (const DBusMenuEvent& event : events)
        if (!handleEvent(event.id, event.eventId))
            idErrors.append(event.id);
    return idErrors;
}

bool DBusMenuExporter::AboutToShow(int id)
{
    if (id != 0 || !m_menu)
        return false;
    const uint before = m_revision;
    // Lets the owner refresh texts (Pause or Resume) before the host reads the layout.
    emit m_menu->aboutToShow();
    flush();
    return m_revision != before;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors)
{
    QList<int> updatesNeeded;
    for (int id : ids) {
        if (!knows(id))
            idErrors.append(id);
        else if (AboutToShow(id))
            updatesNeeded.append(id);
    }
    return updatesNeeded;
}

bool DBusMenuExporter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_menu) {
        switch (event->type()) {
        case QEvent::ActionAdded:
        case QEvent::ActionRemoved:
            menuChanged(static_cast<QActionEvent*>(event)->action(), true);
            break;
        case QEvent::ActionChanged:
            menuChanged(static_cast<QActionEvent*>(event)->action(), false);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DBusMenuExporter::menuChanged(QAction* changed, bool layoutChanged)
{
    if (!layoutChanged && changed)
        m_changedIds.insert(idOf(changed));
    // Several changes in one go (a whole menu built, texts refreshed) make one update.
    if (!m_flushPending) {
        m_flushPending = true;
        QTimer::singleShot(0, this, &DBusMenuExporter::flush);
    }
}

void DBusMenuExporter::flush()
{
    if (!m_flushPending)
        return;
    m_flushPending = false;
    ++m_revision;
    if (!m_changedIds.isEmpty()) {
        DBusMenuItemList updated;
        for (int id : std::as_const(m_changedIds))
            if (knows(id))
                updated.append({id, propertiesOf(id, {})});
        m_changedIds.clear();
        emit ItemsPropertiesUpdated(updated, {});
    }
    emit LayoutUpdated(m_revision, 0);
}
