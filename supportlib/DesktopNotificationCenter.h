#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "UserNotificationCenter.h"
#include "chimebox_export.h"

class QDBusConnection;
class QObject;

// Shows notifications through the desktop's org.freedesktop.Notifications server. Calls are
// sent without waiting for their reply; a missing bus or server only costs one debug line.
// Used from the main thread.
class CHIMEBOX_EXPORT DesktopNotificationCenter : public UserNotificationCenter {
public:
    // Talks to the session bus.
    DesktopNotificationCenter();
    // Talks to the bus at `busAddress` instead (tests run a private bus).
    explicit DesktopNotificationCenter(const QString& busAddress);
    ~DesktopNotificationCenter() override;

    DesktopNotificationCenter(const DesktopNotificationCenter&) = delete;
    DesktopNotificationCenter& operator=(const DesktopNotificationCenter&) = delete;

    void deliver(const UserNotification& notification) override;

    // Notify calls sent whose reply has not come back yet.
    int callsInFlight() const;

private:
    QDBusConnection connection();
    void reportFailureOnce(const QString& message);

    std::optional<QString> m_busAddress;
    QString m_connectionName;
    bool m_connectionOpened = false;
    bool m_reportedFailure = false;
    int m_callsInFlight = 0;
    // Parent of the reply watchers, so none outlives the centre.
    std::unique_ptr<QObject> m_calls;
};
