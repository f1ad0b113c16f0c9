#pragma once

#include <memory>
#include <mutex>
#include <thread>

#include "RouteSource.h"
#include "chimebox_export.h"

// Routes and links of the kernel, over rtnetlink. Every snapshot is a fresh dump; watching
// subscribes to the link and IPv4/IPv6 route groups and reads them on a thread of its own.
// Both sockets belong to the network namespace of the thread that opened them.
class CHIMEBOX_EXPORT NetlinkRouteSource final : public RouteSource {
public:
    // Absent, with a reason, when the kernel refuses a netlink socket.
    static std::unique_ptr<NetlinkRouteSource> open(QString* error = nullptr);
    ~NetlinkRouteSource() override;
    NetlinkRouteSource(const NetlinkRouteSource&) = delete;
    NetlinkRouteSource& operator=(const NetlinkRouteSource&) = delete;

    std::optional<State> snapshot() override;
    // `changed` is called on the reader thread, once per message.
    bool startWatching(std::function<void()> changed, QString* error) override;
    void stopWatching() override;

private:
    explicit NetlinkRouteSource(int dumpSocket);
    bool dump(quint16 type, State& into);

    std::mutex m_dumpMutex; // one dump at a time on the shared socket
    const int m_dumpSocket;
    quint32 m_sequence = 0;

    std::mutex m_watchMutex;
    int m_watchSocket = -1;
    int m_wakeFd = -1;
    std::thread m_reader;
};
