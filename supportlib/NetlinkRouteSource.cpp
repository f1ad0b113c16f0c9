#include "NetlinkRouteSource.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Console.h"

namespace {

// Large enough for any single dump datagram the kernel builds; a truncated one fails the dump.
constexpr size_t kReceiveBufferSize = 64 * 1024;
constexpr int kDumpAttempts = 3;

QString systemError(const char* call, int error)
{
    return QLatin1String(call) + QStringLiteral(": ") +
           QString::fromLocal8Bit(std::strerror(error));
}

int openNetlinkSocket(int flags)
{
    return ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | flags, NETLINK_ROUTE);
}

void closeIfOpen(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

RouteSource::Link parseLink(const nlmsghdr* header)
{
    const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(header));
    RouteSource::Link link;
    link.index = info->ifi_index;
    link.up = info->ifi_flags & IFF_UP;
    link.running = info->ifi_flags & IFF_RUNNING;
    link.loopback = info->ifi_flags & IFF_LOOPBACK;
    return link;
}

bool namesGateway(unsigned short type)
{
    return type == RTA_GATEWAY || type == RTA_VIA;
}

void parseMultipath(const rtattr* attribute, RouteSource::Route& route)
{
    auto* next = static_cast<const rtnexthop*>(RTA_DATA(attribute));
    int left = RTA_PAYLOAD(attribute);
    while (left >= int(sizeof(rtnexthop)) && next->rtnh_len >= sizeof(rtnexthop) &&
           next->rtnh_len <= left) {
        route.interfaces.append(next->rtnh_ifindex);
        int attributesLeft = next->rtnh_len - RTNH_LENGTH(0);
        for (auto* a = RTNH_DATA(next); RTA_OK(a, attributesLeft);
             a = RTA_NEXT(a, attributesLeft)) {
            if (namesGateway(a->rta_type))
                route.hasGateway = true;
        }
        left -= RTNH_ALIGN(next->rtnh_len);
        next = RTNH_NEXT(next);
    }
}

std::optional<RouteSource::Route> parseRoute(const nlmsghdr* header)
{
    const auto* message = static_cast<const rtmsg*>(NLMSG_DATA(header));
    if (message->rtm_family != AF_INET && message->rtm_family != AF_INET6)
        return std::nullopt;
    if (message->rtm_flags & RTM_F_CLONED)
        return std::nullopt;
    RouteSource::Route route;
    route.family = message->rtm_family == AF_INET ? RouteSource::Route::Family::IPv4
                                                  : RouteSource::Route::Family::IPv6;
    route.prefixLength = message->rtm_dst_len;
    route.kind = message->rtm_type == RTN_UNICAST ? RouteSource::Route::Kind::Unicast
                                                  : RouteSource::Route::Kind::Other;
    quint32 table = message->rtm_table;
    int left = RTM_PAYLOAD(header);
    for (auto* a = RTM_RTA(message); RTA_OK(a, left); a = RTA_NEXT(a, left)) {
        if (a->rta_type == RTA_TABLE && RTA_PAYLOAD(a) >= sizeof(quint32))
            std::memcpy(&table, RTA_DATA(a), sizeof table);
        else if (a->rta_type == RTA_OIF && RTA_PAYLOAD(a) >= sizeof(int))
            route.interfaces.append(*static_cast<const int*>(RTA_DATA(a)));
        else if (namesGateway(a->rta_type))
            route.hasGateway = true;
        else if (a->rta_type == RTA_MULTIPATH)
            parseMultipath(a, route);
        else if (a->rta_type == RTA_NH_ID)
            route.viaNexthopObject = true;
    }
    route.localTable = table == RT_TABLE_LOCAL;
    return route;
}

bool isChange(quint16 type)
{
    return type == RTM_NEWLINK || type == RTM_DELLINK || type == RTM_NEWROUTE ||
           type == RTM_DELROUTE;
}

// Runs until the wake descriptor is signalled or the socket fails for good.
void readChanges(int socket, int wake, const std::function<void()>& changed)
{
    pthread_setname_np(pthread_self(), "netlink-routes");
    std::vector<char> buffer(kReceiveBufferSize);
    pollfd watched[2] = {{socket, POLLIN, 0}, {wake, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Console::line(QStringLiteral("err @ readChanges() -> ") + systemError("poll", errno));
            return;
        }
        if (watched[1].revents)
            return;
        const ssize_t got = ::recv(socket, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            // The kernel dropped messages for us: something changed, we cannot tell what.
            if (errno == ENOBUFS) {
                changed();
                continue;
            }
            Console::line(QStringLiteral("err @ readChanges() -> ") + systemError("recv", errno));
            return;
        }
        int left = int(got);
        for (auto* h = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(h, left);
             h = NLMSG_NEXT(h, left)) {
            if (isChange(h->nlmsg_type))
                changed();
        }
    }
}

} // namespace

std::unique_ptr<NetlinkRouteSource> NetlinkRouteSource::open(QString* error)
{
    const int fd = openNetlinkSocket(0);
    if (fd < 0) {
        if (error)
            *error = systemError("socket(AF_NETLINK)", errno);
        return nullptr;
    }
    // A dump that never ends must not hang whoever asked for the flags.
    timeval limit{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    return std::unique_ptr<NetlinkRouteSource>(new NetlinkRouteSource(fd));
}

NetlinkRouteSource::NetlinkRouteSource(int dumpSocket)
    : m_dumpSocket(dumpSocket)
{}

NetlinkRouteSource::~NetlinkRouteSource()
{
    stopWatching();
    ::close(m_dumpSocket);
}

std::optional<RouteSource::State> NetlinkRouteSource::snapshot()
{
    std::lock_guard lock(m_dumpMutex);
    for (int attempt = 0; attempt < kDumpAttempts; ++attempt) {
        State state;
        if (dump(RTM_GETLINK, state) && dump(RTM_GETROUTE, state))
            return state;
    }
    return std::nullopt;
}

// One dump request and its answer. False when it fails or the kernel says the tables changed
// while it was answering (the caller then asks again).
bool NetlinkRouteSource::dump(quint16 type, State& into)
{
    struct {
        nlmsghdr header;
        union {
            ifinfomsg link;
            rtmsg route;
        };
    } request{};
    const quint32 sequence = ++m_sequence;
    const size_t payload = type == RTM_GETLINK ? sizeof(ifinfomsg) : sizeof(rtmsg);
    request.header.nlmsg_len = NLMSG_LENGTH(payload);
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(m_dumpSocket, &request, request.header.nlmsg_len, 0,
                 reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) < 0)
        return false;

    std::vector<char> buffer(kReceiveBufferSize);
    bool interrupted = false;
    for (;;) {
        const ssize_t got = ::recv(m_dumpSocket, buffer.data(), buffer.size(), 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        int left = int(got);
        for (auto* h = reinterpret_cast<const nlmsghdr*>(buffer.data()); NLMSG_OK(h, left);
             h = NLMSG_NEXT(h, left)) {
            // Leftovers of an earlier dump that timed out.
            if (h->nlmsg_seq != sequence)
                continue;
            if (h->nlmsg_flags & NLM_F_DUMP_INTR)
                interrupted = true;
            if (h->nlmsg_type == NLMSG_DONE)
                return !interrupted;
            if (h->nlmsg_type == NLMSG_ERROR)
                return false;
            if (h->nlmsg_type == RTM_NEWLINK && h->nlmsg_len >= NLMSG_LENGTH(sizeof(ifinfomsg))) {
                into.links.append(parseLink(h));
            } else if (h->nlmsg_type == RTM_NEWROUTE &&
                       h->nlmsg_len >= NLMSG_LENGTH(sizeof(rtmsg))) {
                if (auto route = parseRoute(h))
                    into.routes.append(*route);
            }
        }
    }
}

bool NetlinkRouteSource::startWatching(std::function<void()> changed, QString* error)
{
    std::lock_guard lock(m_watchMutex);
    if (m_reader.joinable())
        return true;
    auto fail = [&](const char* call) {
        if (error)
            *error = systemError(call, errno);
        closeIfOpen(m_watchSocket);
        closeIfOpen(m_wakeFd);
        return false;
    };
    m_watchSocket = openNetlinkSocket(SOCK_NONBLOCK);
    if (m_watchSocket < 0)
        return fail("socket(AF_NETLINK)");
    sockaddr_nl groups{};
    groups.nl_family = AF_NETLINK;
    groups.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
    if (::bind(m_watchSocket, reinterpret_cast<const sockaddr*>(&groups), sizeof groups) < 0)
        return fail("bind(RTMGRP_LINK|RTMGRP_IPV4_ROUTE|RTMGRP_IPV6_ROUTE)");
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        return fail("eventfd");
    m_reader = std::thread(readChanges, m_watchSocket, m_wakeFd, std::move(changed));
    return true;
}

void NetlinkRouteSource::stopWatching()
{
    std::lock_guard lock(m_watchMutex);
    if (!m_reader.joinable())
        return;
    const quint64 one = 1;
    while (::write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_reader.join();
    closeIfOpen(m_watchSocket);
    closeIfOpen(m_wakeFd);
}
