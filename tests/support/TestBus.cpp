#include "support/TestBus.h"

#include <QByteArray>
#include <QDir>

#include "support/PrivateBus.h"

void useOnlyPrivateBus(const PrivateBus* bus)
{
    const QByteArray address =
        bus && bus->isRunning()
            ? bus->address().toUtf8()
            : QByteArray("unix:path=") + QDir::tempPath().toUtf8() + "/zestra-no-bus/none";
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    // libdbus and QtDBus prefer these to the session address when they are set.
    qunsetenv("DBUS_STARTER_ADDRESS");
    qunsetenv("DBUS_STARTER_BUS_TYPE");
}
