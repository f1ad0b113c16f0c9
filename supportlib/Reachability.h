#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QString>

#include "chimebox_export.h"

// Watches whether the machine can reach the network ("reachable": a default route through an
// interface that is up, learnt from rtnetlink) and reports each change.
class CHIMEBOX_EXPORT Reachability {
public:
    enum class NetworkStatus { notReachable, reachableViaWiFi, reachableViaWWAN };

    // The monitor of any internet route; absent when the platform refuses.
    static std::unique_ptr<Reachability> forInternet();
    ~Reachability();

    std::function<void(Reachability&)> whenReachable;
    std::function<void(Reachability&)> whenUnreachable;

    // False (with an error text) when watching cannot start; the monitor stays stopped.
    bool startNotifier(QString* error = nullptr);
    void stopNotifier();

    bool isReachable() const;
    bool isReachableViaWiFi() const;
    bool isReachableViaWWAN() const;
    NetworkStatus currentReachabilityStatus() const;
    QString currentReachabilityString() const;
    QString description() const;

    // ... the implementer adds what it needs
};
