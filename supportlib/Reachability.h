#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QFlags>
#include <QString>

#include "RouteSource.h"
#include "chimebox_export.h"

class NotificationCenter;
class SerialQueue;

// Watches whether the machine can reach the network ("reachable": a default route through an
// interface that is up, learnt from rtnetlink) and reports each change through the two
// callbacks and ReachabilityChangedNotification.
//
// The first check after startNotifier() runs on the monitor's own queue, later checks on the
// main thread; the callbacks and the notification come from the thread of the check. Create,
// stop and destroy the monitor on the main thread.
class CHIMEBOX_EXPORT Reachability {
public:
    enum class NetworkStatus { notReachable, reachableViaWiFi, reachableViaWWAN };

    enum class Error {
        FailedToCreateWithAddress,
        FailedToCreateWithHostname,
        UnableToSetCallback,
        UnableToSetDispatchQueue,
    };

    // The usual bit values of reachability flags. On Linux only Reachable and IsDirect are
    // ever set.
    enum Flag : quint32 {
        TransientConnection = 1,
        Reachable = 2,
        ConnectionRequired = 4,
        ConnectionOnTraffic = 8,
        InterventionRequired = 16,
        ConnectionOnDemand = 32,
        IsLocalAddress = 65536,
        IsDirect = 131072,
    };
    Q_DECLARE_FLAGS(Flags, Flag)

    // Posted on NotificationCenter::defaultCenter() after each reported change. User info:
    // "object" (the monitor as void*, to tell monitors apart; never dereference it, the
    // monitor may be gone by the time an observer runs), "reachable" (bool) and "status"
    // (the status text of the reported flags).
    static const QString changedNotification;

    // The monitor of any internet route; absent when the kernel refuses a netlink socket.
    static std::unique_ptr<Reachability> forInternet();
    explicit Reachability(std::unique_ptr<RouteSource> source);
    ~Reachability();
    Reachability(const Reachability&) = delete;
    Reachability& operator=(const Reachability&) = delete;

    std::function<void(Reachability&)> whenReachable;
    std::function<void(Reachability&)> whenUnreachable;
    // Kept for the cellular rule; no path on this platform is cellular.
    bool reachableOnWWAN = true;
    bool isRunningOnDevice = true;

    // False (with an error text starting with the error's name) when watching cannot start;
    // the monitor stays stopped. Starting a running monitor changes nothing.
    bool startNotifier(QString* error = nullptr);
    void stopNotifier();
    bool notifierRunning() const { return m_running; }
    // The flags of the last reported state; absent until the first check.
    std::optional<Flags> previousFlags() const;

    // Each of these reads the current state afresh.
    Flags currentFlags() const;
    bool isReachable() const;
    bool isReachableViaWiFi() const;
    bool isReachableViaWWAN() const;
    NetworkStatus currentReachabilityStatus() const;
    QString currentReachabilityString() const;
    QString description() const;

    // The flags that a state of routes and links amounts to: Reachable when a unicast default
    // route (IPv4 or IPv6) leaves through a link that is up and has a carrier; IsDirect too
    // when none of those routes names a gateway (a point-to-point or on-link default).
    static Flags flagsFor(const RouteSource::State& state);
    static bool isReachable(Flags flags);
    static NetworkStatus status(Flags flags, bool runningOnDevice = true);
    static QString statusString(NetworkStatus status);
    static QString description(Flags flags, bool runningOnDevice = true);
    static QString errorName(Error error);

private:
    struct Life;

    void check();
    void sourceChanged(quint64 generation);

    std::unique_ptr<RouteSource> m_source;
    NotificationCenter* m_notificationCenter;
    std::shared_ptr<Life> m_life;
    std::atomic<bool> m_running{false};
    // Bumped by every start and stop: checks queued for an earlier run are dropped.
    std::atomic<quint64> m_generation{0};
    // The run whose initial check has reported; later changes wait for it.
    std::atomic<quint64> m_initialCheckDone{0};
    std::atomic<bool> m_mainCheckQueued{false};
    mutable std::mutex m_flagsMutex;
    std::optional<Flags> m_previousFlags;
    std::unique_ptr<SerialQueue> m_queue;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Reachability::Flags)
