#include "services/TimerControlService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "services/TimerControlAdaptor.h"

TimerControlService::TimerControlService(QDBusConnection connection)
    : m_connection(std::move(connection))
{}

TimerControlService::~TimerControlService()
{
    if (m_registered) {
        m_connection.unregisterObject(QLatin1String(objectPath));
        m_connection.unregisterService(QLatin1String(serviceName));
    }
}

bool TimerControlService::start(TimerControl& control)
{
    if (!m_connection.isConnected())
        return false;
    m_object = std::make_unique<QObject>();
    new TimerControlAdaptor(m_object.get(), control);
    if (!m_connection.registerObject(QLatin1String(objectPath), m_object.get()))
        return false;
    if (!m_connection.registerService(QLatin1String(serviceName))) {
        m_connection.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    m_registered = true;
    return true;
}

bool TimerControlService::showRunningInstance()
{
    if (!m_connection.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                       QLatin1String(interfaceName), QStringLiteral("ShowPopover"));
    const QDBusMessage reply = m_connection.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}
