#include "Reachability.h"

#include <algorithm>
#include <utility>

#include <QHash>
#include <QVariantMap>

#include "NetlinkRouteSource.h"
#include "NotificationCenter.h"
#include "dispatch/MainQueue.h"
#include "dispatch/SerialQueue.h"

// Outlives the monitor in the hands of queued checks, so that they can tell it is gone.
struct Reachability::Life {
    std::atomic<bool> destroyed{false};
};

const QString Reachability::changedNotification = QStringLiteral("ReachabilityChangedNotification");

std::unique_ptr<Reachability> Reachability::forInternet()
{
    auto source = NetlinkRouteSource::open();
    if (!source)
        return nullptr;
    return std::make_unique<Reachability>(std::move(source));
}

Reachability::Reachability(std::unique_ptr<RouteSource> source)
    : m_source(std::move(source))
    , m_notificationCenter(&NotificationCenter::defaultCenter())
    , m_life(std::make_shared<Life>())
    , m_queue(std::make_unique<SerialQueue>(QStringLiteral("org.zestra.Zestra./Reachability")))
{}

Reachability::~Reachability()
{
    m_life->destroyed = true;
    stopNotifier();
    // Lets a check that is running on the queue finish while the members still exist.
    m_queue.reset();
}

bool Reachability::startNotifier(QString* error)
{
    if (!m_source || m_running)
        return true;
    const quint64 generation = ++m_generation;
    m_running = true;
    QString reason;
    // Changes arrive on the source's thread and pass through the monitor's queue on their way
    // to the main thread.
    const bool watching = m_source->startWatching(
        [this, generation] { m_queue->async([this, generation] { sourceChanged(generation); }); },
        &reason);
    if (!watching) {
        stopNotifier();
        if (error)
            *error = errorName(Error::UnableToSetCallback) + QStringLiteral(": ") + reason;
        return false;
    }
    m_queue->async([this, generation] {
        if (generation != m_generation || !m_running)
            return;
        check();
        m_initialCheckDone = generation;
    });
    return true;
}

void Reachability::stopNotifier()
{
    ++m_generation;
    m_running = false;
    if (m_source)
        m_source->stopWatching();
}

void Reachability::sourceChanged(quint64 generation)
{
    // Before the initial check there is nothing to compare with, and that check reads the state
    // after this change anyway.
    if (generation != m_generation || !m_running || m_initialCheckDone != generation)
        return;
    // One pending check covers any burst: it reads the state when it runs.
    if (m_mainCheckQueued.exchange(true))
        return;
    MainQueue::post([this, life = std::weak_ptr<Life>(m_life)] {
        const auto alive = life.lock();
        if (!alive || alive->destroyed)
            return;
        m_mainCheckQueued = false;
        if (!m_running || m_initialCheckDone != m_generation)
            return;
        check();
    });
}

void Reachability::check()
{
    const Flags flags = currentFlags();
    {
        std::lock_guard lock(m_flagsMutex);
        if (m_previousFlags && *m_previousFlags == flags)
            return;
    }
    const auto life = m_life;
    const bool reachable = isReachable(flags);
    // A copy: the callback may replace itself.
    const auto callback = reachable ? whenReachable : whenUnreachable;
    if (callback)
        callback(*this);
    if (life->destroyed)
        return;
    m_notificationCenter->post(
        changedNotification,
        {{QStringLiteral("object"), QVariant::fromValue(static_cast<void*>(this))},
         {QStringLiteral("reachable"), reachable},
         {QStringLiteral("status"), statusString(status(flags, isRunningOnDevice))}});
    std::lock_guard lock(m_flagsMutex);
    m_previousFlags = flags;
}

std::optional<Reachability::Flags> Reachability::previousFlags() const
{
    std::lock_guard lock(m_flagsMutex);
    return m_previousFlags;
}

Reachability::Flags Reachability::currentFlags() const
{
    // Flags that cannot be read count as all clear.
    const auto state = m_source ? m_source->snapshot() : std::nullopt;
    return state ? flagsFor(*state) : Flags();
}

bool Reachability::isReachable() const
{
    return isReachable(currentFlags());
}

bool Reachability::isReachableViaWiFi() const
{
    // Every reachable path of a desktop counts as the local network.
    return currentFlags().testFlag(Reachable);
}

bool Reachability::isReachableViaWWAN() const
{
    // Read for the side effects a platform query would have; no path here is cellular.
    (void)currentFlags();
    return false;
}

Reachability::NetworkStatus Reachability::currentReachabilityStatus() const
{
    return status(currentFlags(), isRunningOnDevice);
}

QString Reachability::currentReachabilityString() const
{
    return statusString(currentReachabilityStatus());
}

QString Reachability::description() const
{
    return description(currentFlags(), isRunningOnDevice);
}

Reachability::Flags Reachability::flagsFor(const RouteSource::State& state)
{
    QHash<int, RouteSource::Link> links;
    bool anyUsableLink = false;
    auto usable = [](const RouteSource::Link& link) {
        return link.up && link.running && !link.loopback;
    };
    for (const auto& link : state.links) {
        links.insert(link.index, link);
        anyUsableLink = anyUsableLink || usable(link);
    }
    auto leavesThrough = [&](int index) {
        const auto found = links.constFind(index);
        return found != links.cend() && usable(*found);
    };

    bool reachable = false;
    bool throughGateway = false;
    for (const auto& route : state.routes) {
        if (route.prefixLength != 0 || route.kind != RouteSource::Route::Kind::Unicast ||
            route.localTable)
            continue;
        bool leaves =
            std::any_of(route.interfaces.cbegin(), route.interfaces.cend(), leavesThrough);
        // Without the kernel's compatibility dump the links and gateway behind a nexthop object
        // are not shown: any usable link stands for them, and it is not taken for direct.
        const bool hidden = route.interfaces.isEmpty() && route.viaNexthopObject;
        if (hidden)
            leaves = anyUsableLink;
        if (!leaves)
            continue;
        reachable = true;
        throughGateway = throughGateway || route.hasGateway || hidden;
    }
    Flags flags;
    if (reachable)
        flags |= Reachable;
    if (reachable && !throughGateway)
        flags |= IsDirect;
    return flags;
}

bool Reachability::isReachable(Flags flags)
{
    return flags.testFlag(Reachable) &&
           !(flags.testFlag(ConnectionRequired) && flags.testFlag(TransientConnection));
}

Reachability::NetworkStatus Reachability::status(Flags flags, bool runningOnDevice)
{
    if (!isReachable(flags))
        return NetworkStatus::notReachable;
    if (flags.testFlag(Reachable))
        return NetworkStatus::reachableViaWiFi;
    return runningOnDevice ? NetworkStatus::reachableViaWWAN : NetworkStatus::notReachable;
}

QString Reachability::statusString(NetworkStatus status)
{
    switch (status) {
    case NetworkStatus::notReachable:
        return QStringLiteral("No Connection");
    case NetworkStatus::reachableViaWiFi:
        return QStringLiteral("WiFi");
    case NetworkStatus::reachableViaWWAN:
        return QStringLiteral("Cellular");
    }
    return QString();
}

QString Reachability::description(Flags flags, bool runningOnDevice)
{
    auto mark = [flags](Flag flag, char letter) {
        return QLatin1Char(flags.testFlag(flag) ? letter : '-');
    };
    QString text;
    text += QLatin1Char(runningOnDevice ? '-' : 'X');
    text += mark(Reachable, 'R');
    text += QLatin1Char(' ');
    text += mark(ConnectionRequired, 'c');
    text += mark(TransientConnection, 't');
    text += mark(InterventionRequired, 'i');
    text += mark(ConnectionOnTraffic, 'C');
    text += mark(ConnectionOnDemand, 'D');
    text += mark(IsLocalAddress, 'l');
    text += mark(IsDirect, 'd');
    return text;
}

QString Reachability::errorName(Error error)
{
    switch (error) {
    case Error::FailedToCreateWithAddress:
        return QStringLiteral("FailedToCreateWithAddress");
    case Error::FailedToCreateWithHostname:
        return QStringLiteral("FailedToCreateWithHostname");
    case Error::UnableToSetCallback:
        return QStringLiteral("UnableToSetCallback");
    case Error::UnableToSetDispatchQueue:
        return QStringLiteral("UnableToSetDispatchQueue");
    }
    return QString();
}
