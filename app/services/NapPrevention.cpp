#include "services/NapPrevention.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

void NapPrevention::begin()
{
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Zestra") << QLatin1String(reason)
         << QStringLiteral("block");
    // Asked without waiting: start-up must not stall on a slow or absent logind.
    auto* watcher = new QDBusPendingCallWatcher(system.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* finished) {
                QDBusPendingReply<QDBusUnixFileDescriptor> reply = *finished;
                if (!reply.isError() && !m_released)
                    m_lock = reply.value();
                finished->deleteLater();
            });
}

void NapPrevention::release()
{
    m_released = true;
    // Closing the descriptor ends the inhibition.
    m_lock = QDBusUnixFileDescriptor();
}
