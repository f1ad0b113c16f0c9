#include "Reachability.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "NetlinkRouteSource.h"
#include "NotificationCenter.h"
#include "dispatch/MainQueue.h"
#include "support/TestEnvironment.h"

namespace {

using Flags = Reachability::Flags;
using Link = RouteSource::Link;
using Route = RouteSource::Route;
using State = RouteSource::State;

Link upLink(int index)
{
    return {index, true, true, false};
}

Route defaultRoute(QList<int> interfaces, bool gateway = true,
                   Route::Family family = Route::Family::IPv4)
{
    Route route;
    route.family = family;
    route.interfaces = std::move(interfaces);
    route.hasGateway = gateway;
    return route;
}

State reachableState()
{
    return {{upLink(2)}, {defaultRoute({2})}};
}

State unreachableState()
{
    return {{upLink(2)}, {}};
}

TEST(ReachabilityFlagsTest, DefaultRouteThroughAWorkingLinkIsReachable)
{
    Route network = defaultRoute({2});
    network.prefixLength = 24;
    Route blackhole = defaultRoute({2});
    blackhole.kind = Route::Kind::Other;
    Route inLocalTable = defaultRoute({2});
    inLocalTable.localTable = true;
    Route nexthopObject = defaultRoute({}, false);
    nexthopObject.viaNexthopObject = true;
    const Link noCarrier{3, true, false, false};
    const Link down{4, false, false, false};
    const Link loopback{1, true, true, true};
    const Flags reachable = Reachability::Reachable;
    const Flags direct = Reachability::Reachable | Reachability::IsDirect;

    const struct {
        const char* name;
        State state;
        Flags expected;
    } rows[] = {
        {"nothing at all", {}, {}},
        {"IPv4 default via a gateway", {{upLink(2)}, {defaultRoute({2})}}, reachable},
        {"IPv6 default only",
         {{upLink(2)}, {defaultRoute({2}, true, Route::Family::IPv6)}},
         reachable},
        {"default without gateway is direct", {{upLink(2)}, {defaultRoute({2}, false)}}, direct},
        {"one gateway among the defaults is not direct",
         {{upLink(2), upLink(5)}, {defaultRoute({2}, false), defaultRoute({5})}},
         reachable},
        {"only a network route", {{upLink(2)}, {network}}, {}},
        {"default through a link without carrier", {{noCarrier}, {defaultRoute({3})}}, {}},
        {"default through a link that is down", {{down}, {defaultRoute({4})}}, {}},
        {"default through loopback", {{loopback}, {defaultRoute({1})}}, {}},
        {"default through an unknown link", {{upLink(2)}, {defaultRoute({9})}}, {}},
        {"blackhole default", {{upLink(2)}, {blackhole}}, {}},
        {"default in the local table", {{upLink(2)}, {inLocalTable}}, {}},
        {"multipath with one working leg",
         {{noCarrier, upLink(2)}, {defaultRoute({3, 2})}},
         reachable},
        {"multipath with no working leg", {{noCarrier, down}, {defaultRoute({3, 4})}}, {}},
        {"nexthop object with a working link", {{loopback, upLink(2)}, {nexthopObject}}, reachable},
        {"nexthop object with only loopback", {{loopback}, {nexthopObject}}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Reachability::flagsFor(row.state), row.expected);
    }
}

TEST(ReachabilityFlagsTest, DescriptionAndStatusOfFlags)
{
    using R = Reachability;
    using S = R::NetworkStatus;
    const struct {
        const char* name;
        Flags flags;
        bool onDevice;
        const char* description;
        bool reachable;
        S status;
        const char* statusText;
    } rows[] = {
        {"clear", {}, true, "-- -------", false, S::notReachable, "No Connection"},
        {"plainly reachable", R::Reachable, true, "-R -------", true, S::reachableViaWiFi, "WiFi"},
        {"direct", R::Reachable | R::IsDirect, true, "-R ------d", true, S::reachableViaWiFi,
         "WiFi"},
        {"connection required and transient",
         R::Reachable | R::ConnectionRequired | R::TransientConnection, true, "-R ct-----", false,
         S::notReachable, "No Connection"},
        {"connection required alone", R::Reachable | R::ConnectionRequired, true, "-R c------",
         true, S::reachableViaWiFi, "WiFi"},
        {"every flag",
         R::Reachable | R::ConnectionRequired | R::TransientConnection | R::InterventionRequired |
             R::ConnectionOnTraffic | R::ConnectionOnDemand | R::IsLocalAddress | R::IsDirect,
         true, "-R ctiCDld", false, S::notReachable, "No Connection"},
        {"not on a device", R::Reachable, false, "XR -------", true, S::reachableViaWiFi, "WiFi"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(R::description(row.flags, row.onDevice), QString::fromLatin1(row.description));
        EXPECT_EQ(R::isReachable(row.flags), row.reachable);
        EXPECT_EQ(R::status(row.flags, row.onDevice), row.status);
        EXPECT_EQ(R::statusString(row.status), QString::fromLatin1(row.statusText));
    }
}

// A route source whose state and changes the test writes.
class ScriptedRoutes final : public RouteSource {
public:
    struct Script {
        std::mutex mutex;
        std::optional<State> state;
        std::function<void()> changed;
        bool refuse = false;
        int snapshots = 0;
        int starts = 0;
        int stops = 0;

        void change(std::optional<State> next)
        {
            std::function<void()> notify;
            {
                std::lock_guard lock(mutex);
                state = std::move(next);
                notify = changed;
            }
            if (notify)
                notify();
        }
        int snapshotCount()
        {
            std::lock_guard lock(mutex);
            return snapshots;
        }
    };

    explicit ScriptedRoutes(std::shared_ptr<Script> script)
        : m_script(std::move(script))
    {}

    std::optional<State> snapshot() override
    {
        std::lock_guard lock(m_script->mutex);
        ++m_script->snapshots;
        return m_script->state;
    }
    bool startWatching(std::function<void()> changed, QString* error) override
    {
        std::lock_guard lock(m_script->mutex);
        if (m_script->refuse) {
            *error = QStringLiteral("refused");
            return false;
        }
        ++m_script->starts;
        m_script->changed = std::move(changed);
        return true;
    }
    void stopWatching() override
    {
        std::lock_guard lock(m_script->mutex);
        ++m_script->stops;
        m_script->changed = nullptr;
    }

private:
    std::shared_ptr<Script> m_script;
};

struct Report {
    bool reachable;
    bool onMainThread;
};

// What the two callbacks and the notification saw, from whichever thread they ran on.
class Recorder {
public:
    void attach(Reachability& monitor)
    {
        monitor.whenReachable = [this](Reachability&) { add(true); };
        monitor.whenUnreachable = [this](Reachability&) { add(false); };
        NotificationCenter::defaultCenter().addObserver(
            Reachability::changedNotification, &m_context, [this](const QVariantMap& info) {
                std::lock_guard lock(m_mutex);
                m_notifications.push_back(info);
            });
    }
    size_t size()
    {
        std::lock_guard lock(m_mutex);
        return m_reports.size();
    }
    Report at(size_t i)
    {
        std::lock_guard lock(m_mutex);
        return m_reports.at(i);
    }
    std::vector<QVariantMap> notifications()
    {
        std::lock_guard lock(m_mutex);
        return m_notifications;
    }
    bool awaitReports(size_t count)
    {
        return processEventsUntil([&] { return size() >= count; });
    }

private:
    void add(bool reachable)
    {
        std::lock_guard lock(m_mutex);
        m_reports.push_back({reachable, MainQueue::isMainThread()});
    }

    std::mutex m_mutex;
    std::vector<Report> m_reports;
    std::vector<QVariantMap> m_notifications;
    QObject m_context;
};

class ReachabilityMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = std::make_shared<ScriptedRoutes::Script>();
        script->state = unreachableState();
        monitor = std::make_unique<Reachability>(std::make_unique<ScriptedRoutes>(script));
        recorder.attach(*monitor);
    }

    // Waits until a check has read the state after the last change, so that its report, if
    // any, has been made.
    bool awaitCheckAfter(int snapshotsBefore)
    {
        return processEventsUntil([&] { return script->snapshotCount() > snapshotsBefore; });
    }

    std::shared_ptr<ScriptedRoutes::Script> script;
    Recorder recorder;
    std::unique_ptr<Reachability> monitor;
};

TEST_F(ReachabilityMonitorTest, FirstCheckReportsOnTheMonitorsQueueEvenWithoutAChange)
{
    EXPECT_FALSE(monitor->notifierRunning());
    EXPECT_FALSE(monitor->previousFlags());
    ASSERT_TRUE(monitor->startNotifier());
    EXPECT_TRUE(monitor->notifierRunning());

    ASSERT_TRUE(recorder.awaitReports(1));
    EXPECT_FALSE(recorder.at(0).reachable);
    EXPECT_FALSE(recorder.at(0).onMainThread);
    ASSERT_TRUE(processEventsUntil([&] { return recorder.notifications().size() == 1; }));
    const QVariantMap info = recorder.notifications().front();
    EXPECT_EQ(info.value(QStringLiteral("object")).value<void*>(), monitor.get());
    EXPECT_EQ(info.value(QStringLiteral("reachable")), QVariant(false));
    EXPECT_EQ(info.value(QStringLiteral("status")), QVariant(QStringLiteral("No Connection")));
    EXPECT_EQ(monitor->previousFlags(), Flags());
}

TEST_F(ReachabilityMonitorTest, LaterChangesReportOnTheMainThreadOnlyWhenTheFlagsDiffer)
{
    script->state = reachableState();
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(recorder.awaitReports(1));
    EXPECT_TRUE(recorder.at(0).reachable);

    script->change(unreachableState());
    ASSERT_TRUE(recorder.awaitReports(2));
    EXPECT_FALSE(recorder.at(1).reachable);
    EXPECT_TRUE(recorder.at(1).onMainThread);

    // Different routes, same flags: each check reads them and stays silent.
    const State stillUnreachable{{upLink(2)}, {defaultRoute({7})}};
    for (int i = 0; i < 2; ++i) {
        const int before = script->snapshotCount();
        script->change(stillUnreachable);
        ASSERT_TRUE(awaitCheckAfter(before));
    }
    EXPECT_EQ(recorder.size(), 2u);

    script->change(reachableState());
    ASSERT_TRUE(recorder.awaitReports(3));
    EXPECT_TRUE(recorder.at(2).reachable);
    ASSERT_TRUE(processEventsUntil([&] { return recorder.notifications().size() == 3; }));
    EXPECT_EQ(recorder.notifications().back().value(QStringLiteral("status")),
              QVariant(QStringLiteral("WiFi")));
    EXPECT_EQ(monitor->previousFlags(), Flags(Reachability::Reachable));
}

TEST_F(ReachabilityMonitorTest, StartingTwiceRegistersOnce)
{
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(recorder.awaitReports(1));
    EXPECT_EQ(script->starts, 1);
    // A second initial check would read the state once more.
    EXPECT_TRUE(processEventsUntil([&] { return monitor->previousFlags().has_value(); }));
    EXPECT_EQ(recorder.size(), 1u);
}

TEST_F(ReachabilityMonitorTest, RefusedWatchFailsWithUnableToSetCallbackAndStaysStopped)
{
    script->refuse = true;
    QString error;
    EXPECT_FALSE(monitor->startNotifier(&error));
    EXPECT_EQ(error, QStringLiteral("UnableToSetCallback: refused"));
    EXPECT_FALSE(monitor->notifierRunning());
    EXPECT_EQ(script->snapshotCount(), 0);

    script->refuse = false;
    EXPECT_TRUE(monitor->startNotifier(&error));
    EXPECT_TRUE(recorder.awaitReports(1));
}

TEST_F(ReachabilityMonitorTest, StopEndsWatchingAndARestartComparesWithTheLastReport)
{
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(recorder.awaitReports(1));
    monitor->stopNotifier();
    EXPECT_FALSE(monitor->notifierRunning());
    EXPECT_EQ(script->stops, 1);

    // The remembered flags survive a restart: an unchanged state reports nothing.
    int before = script->snapshotCount();
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(awaitCheckAfter(before));
    EXPECT_EQ(recorder.size(), 1u);
    monitor->stopNotifier();

    script->state = reachableState();
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(recorder.awaitReports(2));
    EXPECT_TRUE(recorder.at(1).reachable);
    EXPECT_FALSE(recorder.at(1).onMainThread);
}

TEST_F(ReachabilityMonitorTest, DestroyingWithAChangeInFlightReportsNothingMore)
{
    ASSERT_TRUE(monitor->startNotifier());
    ASSERT_TRUE(recorder.awaitReports(1));
    ASSERT_TRUE(processEventsUntil([&] { return monitor->previousFlags().has_value(); }));
    script->change(reachableState());
    // Joins the monitor's queue, so the main-thread check is posted by now if it ever will be.
    monitor.reset();
    EXPECT_EQ(script->stops, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.size(), 1u);
}

TEST_F(ReachabilityMonitorTest, QueriesReadTheStateAfresh)
{
    EXPECT_FALSE(monitor->isReachable());
    EXPECT_EQ(monitor->currentReachabilityString(), QStringLiteral("No Connection"));

    script->state = reachableState();
    EXPECT_TRUE(monitor->isReachable());
    EXPECT_TRUE(monitor->isReachableViaWiFi());
    EXPECT_FALSE(monitor->isReachableViaWWAN());
    EXPECT_EQ(monitor->currentReachabilityStatus(), Reachability::NetworkStatus::reachableViaWiFi);
    EXPECT_EQ(monitor->currentReachabilityString(), QStringLiteral("WiFi"));
    EXPECT_EQ(monitor->description(), QStringLiteral("-R -------"));
    monitor->isRunningOnDevice = false;
    EXPECT_EQ(monitor->description(), QStringLiteral("XR -------"));

    // A state that cannot be read counts as all clear.
    script->state.reset();
    EXPECT_FALSE(monitor->isReachable());
    EXPECT_EQ(monitor->description(), QStringLiteral("X- -------"));
}

// Against the kernel.

TEST(ReachabilityKernelTest, WatchesThisMachine)
{
    auto monitor = Reachability::forInternet();
    ASSERT_TRUE(monitor);
    Recorder recorder;
    recorder.attach(*monitor);
    QString error;
    ASSERT_TRUE(monitor->startNotifier(&error)) << error.toStdString();
    ASSERT_TRUE(recorder.awaitReports(1));
    EXPECT_EQ(monitor->description().size(), 10);
    EXPECT_EQ(recorder.at(0).reachable, monitor->isReachable());
    monitor->stopNotifier();
}

TEST(ReachabilityKernelTest, NoSocketForTheWatchIsUnableToSetCallback)
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers' own checks need descriptors too, and fail under the tight limit.
    GTEST_SKIP() << "the descriptor limit would starve the sanitizer runtime";
#endif
    auto monitor = Reachability::forInternet();
    ASSERT_TRUE(monitor);
    // A descriptor limit at the lowest free descriptor makes the next socket() fail.
    const int probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    ::close(probe);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(probe);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    QString error;
    const bool started = monitor->startNotifier(&error);
    ::setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_FALSE(started);
    EXPECT_TRUE(error.startsWith(QStringLiteral("UnableToSetCallback: socket(AF_NETLINK): ")))
        << error.toStdString();
    EXPECT_FALSE(monitor->notifierRunning());
    EXPECT_TRUE(monitor->startNotifier(&error)) << error.toStdString();
}

ino_t namespaceOf(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 ? info.st_ino : 0;
}

// Moves the calling thread (and the processes it starts) into a new, empty network namespace,
// and back when it goes out of scope. Sockets opened inside stay inside.
class FreshNetworkNamespace {
public:
    ~FreshNetworkNamespace()
    {
        if (m_entered)
            ::setns(m_original, CLONE_NEWNET);
        if (m_original >= 0)
            ::close(m_original);
    }

    bool enter(QString* why)
    {
        m_original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        if (m_original < 0) {
            *why = QStringLiteral("cannot open /proc/thread-self/ns/net");
            return false;
        }
        if (::unshare(CLONE_NEWNET) != 0) {
            *why =
                QStringLiteral("unshare(CLONE_NEWNET): ") + QString::fromLocal8Bit(strerror(errno));
            return false;
        }
        m_entered = true;
        const int current = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const bool moved = current >= 0 && namespaceOf(current) != namespaceOf(m_original);
        if (current >= 0)
            ::close(current);
        if (!moved)
            *why = QStringLiteral("the thread did not change namespace");
        return moved;
    }

private:
    int m_original = -1;
    bool m_entered = false;
};

// Runs `ip` in the namespace of this thread; the error output on failure.
std::optional<QString> ip(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("ip"), arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return QStringLiteral("ip did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return std::nullopt;
}

QStringList split(const char* command)
{
    return QString::fromLatin1(command).split(QLatin1Char(' '));
}

TEST(ReachabilityKernelTest, FollowsRoutesAndCarrierInAPrivateNetworkNamespace)
{
    if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        GTEST_SKIP() << "no ip command";
    FreshNetworkNamespace netns;
    QString why;
    if (!netns.enter(&why))
        GTEST_SKIP() << "no private network namespace: " << why.toStdString();

    // Refuse to go on unless the commands below can only reach the new namespace.
    QProcess listing;
    listing.start(QStringLiteral("ip"), split("-o link show"));
    ASSERT_TRUE(listing.waitForFinished(5000));
    const QString links = QString::fromLocal8Bit(listing.readAllStandardOutput()).trimmed();
    ASSERT_EQ(links.count(QLatin1Char('\n')), 0) << links.toStdString();
    ASSERT_TRUE(links.startsWith(QStringLiteral("1: lo:"))) << links.toStdString();

    auto monitor = Reachability::forInternet();
    ASSERT_TRUE(monitor);
    Recorder recorder;
    recorder.attach(*monitor);
    QString error;
    ASSERT_TRUE(monitor->startNotifier(&error)) << error.toStdString();
    ASSERT_TRUE(recorder.awaitReports(1));
    EXPECT_FALSE(recorder.at(0).reachable);
    EXPECT_EQ(monitor->description(), QStringLiteral("-- -------"));

    if (auto failed = ip(split("link add zr0 type veth peer name zr1")))
        GTEST_SKIP() << "no veth pairs here: " << failed->toStdString();
    for (const char* command : {"link set lo up", "link set zr0 up", "link set zr1 up",
                                "addr add 10.77.0.1/24 dev zr0"}) {
        ASSERT_EQ(ip(split(command)), std::nullopt) << command;
    }

    // Each step: a command, then the report it must cause.
    const struct {
        const char* command;
        bool reachable;
        const char* description;
    } steps[] = {
        {"route add default via 10.77.0.2", true, "-R -------"},
        // The peer going down takes zr0's carrier; the kernel keeps the route.
        {"link set zr1 down", false, "-- -------"},
        {"link set zr1 up", true, "-R -------"},
        {"route del default", false, "-- -------"},
        {"-6 route add default dev zr0", true, "-R ------d"},
        {"link del zr0", false, "-- -------"},
    };
    size_t expected = 1;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        ASSERT_EQ(ip(split(step.command)), std::nullopt);
        ++expected;
        ASSERT_TRUE(recorder.awaitReports(expected));
        EXPECT_EQ(recorder.at(expected - 1).reachable, step.reachable);
        EXPECT_TRUE(recorder.at(expected - 1).onMainThread);
        EXPECT_EQ(monitor->description(), QString::fromLatin1(step.description));
    }
    EXPECT_EQ(recorder.size(), expected);
    monitor.reset();
}

} // namespace
