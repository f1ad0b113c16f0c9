#include "services/TimerControlService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "services/TimerControl.h"
#include "services/TimerControlAdaptor.h"
#include "services/TimerStatePublisher.h"

TimerControlService::TimerControlService(QDBusConnection connection)
    : m_connection(std::move(connection))
{}

TimerControlService::~TimerControlService()
{
    m_publisher.reset();
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
    auto* adaptor = new TimerControlAdaptor(m_object.get(), control);
    if (!m_connection.registerObject(QLatin1String(objectPath), m_object.get()))
        return false;
    if (!m_connection.registerService(QLatin1String(serviceName))) {
        m_connection.unregisterObject(QLatin1String(objectPath));
        return false;
    }
    m_registered = true;
    m_publisher = std::make_unique<TimerStatePublisher>([&control] { return control.state(); });
    QObject::connect(m_publisher.get(), &TimerStatePublisher::stateChanged, adaptor,
                     [adaptor](const QVariantMap& state) {
                         emit adaptor->StateChanged(TimerControlAdaptor::withoutNulls(state));
                     });
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
