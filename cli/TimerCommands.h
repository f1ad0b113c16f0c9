#pragma once

#include <optional>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

#include "CommandArguments.h"
#include "Terminal.h"

// "timer status|watch|toggle|reset|skip|show|continue": the running application's timer, over
// D-Bus; continue takes another computer's countdown from the cloud.
class TimerCommands {
public:
    explicit TimerCommands(QDBusConnection connection);

    // On the session bus, as the command table runs it.
    static ExitStatus runOnSessionBus(const CommandArguments& arguments);
    ExitStatus run(const CommandArguments& arguments);

private:
    ExitStatus call(const QString& method);
    // The reply, or nothing with the reason on standard error.
    std::optional<QDBusMessage> request(const QString& method);
    std::optional<QVariantMap> state();
    ExitStatus status();
    // One JSON line now and one on every change, until interrupted or Zestra quits.
    ExitStatus watch();
    // Continues the newest countdown that another computer published to the cloud.
    ExitStatus continueCountdown();

    QDBusConnection m_connection;
};
