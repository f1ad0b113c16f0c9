#pragma once

#include <functional>
#include <memory>

#include <QString>

// What the popover needs from a network monitor: a call when the internet comes and goes, from
// any thread. The application's one watches the machine's routes; tests bring their own.
class InternetMonitor {
public:
    virtual ~InternetMonitor() = default;

    std::function<void()> whenReachable;
    std::function<void()> whenUnreachable;

    // False (with an error text) when watching cannot start.
    virtual bool startNotifier(QString* error) = 0;

    // Backed by Reachability::forInternet().
    static std::unique_ptr<InternetMonitor> forInternet();
};
