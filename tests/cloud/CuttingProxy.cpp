#include "CuttingProxy.h"

#include <vector>

#include <QUrl>
#include <QUrlQuery>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct Pair {
    int client = -1;
    int server = -1;
    bool cutting = false;
};

int connectToUnixSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    if (fd < 0 || size_t(bytes.size()) >= sizeof(address.sun_path))
        return -1;
    std::copy(bytes.cbegin(), bytes.cend(), address.sun_path);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool forward(int from, int to, QByteArray* seen)
{
    char buffer[65536];
    const ssize_t count = read(from, buffer, sizeof(buffer));
    if (count <= 0)
        return false;
    if (seen)
        *seen = QByteArray(buffer, count);
    for (ssize_t written = 0; written < count;) {
        const ssize_t step = write(to, buffer + written, size_t(count - written));
        if (step <= 0)
            return false;
        written += step;
    }
    return true;
}

} // namespace

CuttingProxy::CuttingProxy(const QString& serverUri)
{
    QUrl url(serverUri);
    QUrlQuery query(url);
    const QString port = query.hasQueryItem(QStringLiteral("port"))
                             ? query.queryItemValue(QStringLiteral("port"))
                             : QString::number(url.port(5432));
    m_socketPath = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded) +
                   QStringLiteral("/.s.PGSQL.") + port;
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_listener, 16) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    query.removeAllQueryItems(QStringLiteral("host"));
    query.removeAllQueryItems(QStringLiteral("port"));
    query.addQueryItem(QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    query.addQueryItem(QStringLiteral("port"), QString::number(ntohs(address.sin_port)));
    url.setQuery(query);
    url.setPort(-1);
    m_uri = url.toString();
    m_thread = std::thread([this] { run(); });
}

CuttingProxy::~CuttingProxy()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        close(m_listener);
}

void CuttingProxy::cutAfterAnswerTo(const QByteArray& marker)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_marker = marker;
}

void CuttingProxy::run()
{
    std::vector<Pair> pairs;
    const auto drop = [](Pair& pair) {
        close(pair.client);
        close(pair.server);
        pair.client = pair.server = -1;
    };
    while (!m_stopping) {
        std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
        for (const Pair& pair : pairs) {
            watched.push_back({pair.client, POLLIN, 0});
            watched.push_back({pair.server, POLLIN, 0});
        }
        if (poll(watched.data(), watched.size(), 50) <= 0)
            continue;
        // A pair accepted now is watched from the next round on.
        const size_t watchedPairs = pairs.size();
        if (watched[0].revents & POLLIN) {
            const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int server = connectToUnixSocket(m_socketPath);
            if (client >= 0 && server >= 0)
                pairs.push_back({client, server, false});
            else if (client >= 0)
                close(client);
        }
        for (size_t index = 0; index < watchedPairs; ++index) {
            Pair& pair = pairs[index];
            const short fromClient = watched[1 + 2 * index].revents;
            const short fromServer = watched[2 + 2 * index].revents;
            if (fromClient) {
                QByteArray sent;
                if (!forward(pair.client, pair.server, &sent)) {
                    drop(pair);
                    continue;
                }
                const std::lock_guard<std::mutex> lock(m_mutex);
                if (!m_marker.isEmpty() && sent.contains(m_marker)) {
                    pair.cutting = true;
                    m_marker.clear();
                }
            }
            if (fromServer) {
                if (pair.cutting) {
                    // The server has answered, so it has committed: the client never hears it.
                    drop(pair);
                    ++m_cuts;
                    continue;
                }
                if (!forward(pair.server, pair.client, nullptr))
                    drop(pair);
            }
        }
        std::erase_if(pairs, [](const Pair& pair) { return pair.client < 0; });
    }
    for (Pair& pair : pairs)
        drop(pair);
}
