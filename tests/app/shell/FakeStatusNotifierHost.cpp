#include "shell/FakeStatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusVariant>

#include "shell/StatusNotifierItem.h"
#include "support/TestEnvironment.h"

void FakeWatcherObject::RegisterStatusNotifierItem(const QString& service)
{
    std::lock_guard lock(m_state->mutex);
    m_state->registered.append(service);
}

void FakeWatcherObject::labelChanged(const QString& label, const QString& guide)
{
    std::lock_guard lock(m_state->mutex);
    m_state->labels.append(label + u'|' + guide);
}

void FakeWatcherObject::toolTipChanged()
{
    std::lock_guard lock(m_state->mutex);
    ++m_state->toolTipChanges;
}

FakeStatusNotifierHost::FakeStatusNotifierHost(const QString& address)
    : m_object(std::make_unique<FakeWatcherObject>(m_state))
{
    m_object->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_object.get(),
        [this, address] {
            QDBusConnection bus = QDBusConnection::connectToBus(address, kConnection);
            m_ready = bus.isConnected() &&
                      bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), m_object.get(),
                                         QDBusConnection::ExportAllSlots) &&
                      bus.registerService(StatusNotifierItem::kWatcherService);
        },
        Qt::BlockingQueuedConnection);
}

FakeStatusNotifierHost::~FakeStatusNotifierHost()
{
    QMetaObject::invokeMethod(
        m_object.get(), [] { QDBusConnection::disconnectFromBus(kConnection); },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QStringList FakeStatusNotifierHost::registered() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->registered;
}

QStringList FakeStatusNotifierHost::labels() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->labels;
}

int FakeStatusNotifierHost::toolTipChanges() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->toolTipChanges;
}

bool FakeStatusNotifierHost::watchLabels(const QString& service)
{
    bool connected = false;
    QMetaObject::invokeMethod(
        m_object.get(),
        [this, service, &connected] {
            // QtDBus names the receiving slot only by its signature.
            QDBusConnection bus(kConnection);
            const QString item = QStringLiteral("org.kde.StatusNotifierItem");
            connected =
                bus.connect(service, StatusNotifierItem::kItemPath, item,
                            QStringLiteral("XAyatanaNewLabel"), m_object.get(),
                            SLOT(labelChanged(QString, QString))) &&
                bus.connect(service, StatusNotifierItem::kItemPath, item,
                            QStringLiteral("NewToolTip"), m_object.get(), SLOT(toolTipChanged()));
        },
        Qt::BlockingQueuedConnection);
    return connected;
}

QDBusMessage FakeStatusNotifierHost::call(const QDBusMessage& message)
{
    {
        std::lock_guard lock(m_state->mutex);
        m_state->reply.reset();
    }
    QMetaObject::invokeMethod(m_object.get(), [state = m_state, message] {
        const QDBusMessage reply = QDBusConnection(kConnection).call(message);
        std::lock_guard lock(state->mutex);
        state->reply = reply;
    });
    processEventsUntil([this] {
        std::lock_guard lock(m_state->mutex);
        return m_state->reply.has_value();
    });
    std::lock_guard lock(m_state->mutex);
    return m_state->reply.value_or(QDBusMessage());
}

QVariant FakeStatusNotifierHost::property(const QString& service, const QString& path,
                                          const QString& interface, const QString& name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << name;
    const QDBusMessage reply = call(get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}
