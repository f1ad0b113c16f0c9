#include "services/TimerControlInterface.h"

#include "services/TimerControlService.h"

TimerControlInterface::TimerControlInterface(const QDBusConnection& connection, QObject* parent)
    : QDBusAbstractInterface(QLatin1String(TimerControlService::serviceName),
                             QLatin1String(TimerControlService::objectPath),
                             TimerControlService::interfaceName, connection, parent)
{}
