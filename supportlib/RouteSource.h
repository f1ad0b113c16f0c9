#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>

#include "chimebox_export.h"

// Where a reachability monitor learns the machine's routes and links. The kernel source reads
// rtnetlink; tests put a scripted one in its place.
class CHIMEBOX_EXPORT RouteSource {
public:
    struct Link {
        int index = 0;
        bool up = false;      // IFF_UP: switched on by the administrator
        bool running = false; // IFF_RUNNING: has a carrier
        bool loopback = false;
    };

    struct Route {
        enum class Family { IPv4, IPv6 };
        enum class Kind { Unicast, Other }; // Other: unreachable, blackhole, prohibit, local...

        Family family = Family::IPv4;
        int prefixLength = 0;
        Kind kind = Kind::Unicast;
        bool localTable = false;
        // The output interfaces: one, or several for a multipath route.
        QList<int> interfaces;
        bool hasGateway = false;
        // The route names a kernel nexthop object instead of an interface.
        bool viaNexthopObject = false;
    };

    struct State {
        QList<Link> links;
        QList<Route> routes;
    };

    virtual ~RouteSource();

    // The current routes and links; absent when they cannot be read. Callable from any thread.
    virtual std::optional<State> snapshot() = 0;
    // Calls `changed`, from a thread of the source's choosing, after every change the source
    // sees. False, with a reason, when it cannot watch.
    virtual bool startWatching(std::function<void()> changed, QString* error) = 0;
    // After it returns `changed` is not called any more. Harmless when not watching.
    virtual void stopWatching() = 0;
};
