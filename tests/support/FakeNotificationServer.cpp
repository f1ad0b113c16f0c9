#include "support/FakeNotificationServer.h"

#include <atomic>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QObject>

#include "support/TestEnvironment.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

ReceivedImage decodeImage(const QDBusArgument& argument)
{
    ReceivedImage image;
    image.signature = argument.currentSignature();
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowstride >> image.hasAlpha >>
        image.bitsPerSample >> image.channels >> image.data;
    argument.endStructure();
    return image;
}

} // namespace

// Lives on the server thread; QtDBus delivers the calls there.
class NotificationsObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit NotificationsObject(std::shared_ptr<FakeNotificationServer::State> state)
        : m_state(std::move(state))
    {}

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout)
    {
        ReceivedNotification notification{appName, replacesId, appIcon, summary,      body,
                                          actions, hints,      {},      expireTimeout};
        if (notification.hints.contains(QStringLiteral("image-data"))) {
            const QVariant value = notification.hints.take(QStringLiteral("image-data"));
            notification.image = decodeImage(value.value<QDBusArgument>());
        }
        bool hold = false;
        {
            std::lock_guard lock(m_state->mutex);
            m_state->received.append(notification);
            hold = m_state->holdReplies;
            if (hold)
                ++m_state->held;
        }
        if (hold)
            m_state->released.acquire();
        return static_cast<uint>(++m_lastId);
    }

private:
    std::shared_ptr<FakeNotificationServer::State> m_state;
    int m_lastId = 0;
};

FakeNotificationServer::FakeNotificationServer(const QString& busAddress)
    : m_state(std::make_shared<State>())
    , m_object(std::make_unique<NotificationsObject>(m_state))
{
    static std::atomic<int> counter = 0;
    m_connectionName = QStringLiteral("fake-notification-server-%1").arg(++counter);
    m_object->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_object.get(),
        [this, busAddress] {
            QDBusConnection bus = QDBusConnection::connectToBus(busAddress, m_connectionName);
            m_registered =
                bus.isConnected() &&
                bus.registerObject(kPath, m_object.get(), QDBusConnection::ExportAllSlots) &&
                bus.registerService(kService);
        },
        Qt::BlockingQueuedConnection);
}

FakeNotificationServer::~FakeNotificationServer()
{
    release();
    QMetaObject::invokeMethod(
        m_object.get(),
        [this] {
            QDBusConnection(m_connectionName).unregisterService(kService);
            QDBusConnection::disconnectFromBus(m_connectionName);
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool FakeNotificationServer::isRegistered() const
{
    return m_registered;
}

QList<ReceivedNotification> FakeNotificationServer::received() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->received;
}

bool FakeNotificationServer::waitForNotifications(qsizetype count)
{
    return processEventsUntil([this, count] { return received().size() >= count; });
}

void FakeNotificationServer::holdReplies()
{
    std::lock_guard lock(m_state->mutex);
    m_state->holdReplies = true;
}

void FakeNotificationServer::release()
{
    std::lock_guard lock(m_state->mutex);
    if (!m_state->holdReplies)
        return;
    m_state->holdReplies = false;
    // One permit for every call already waiting, or about to.
    m_state->released.release(m_state->held);
    m_state->held = 0;
}

#include "FakeNotificationServer.moc"
