#include "cloud/CloudPushListener.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <libpq-fe.h>

namespace {

void ignoreNotice(void*, const char*) {}

// How long one step of building a connection may take before it counts as failed.
constexpr int connectStepMs = 15000;

// Waits for the socket (when given) or the wake pipe: the number of those ready, 0 after
// `timeoutMs`, -1 when the wait itself failed.
int waitFor(int socket, short events, int wake, int timeoutMs)
{
    pollfd fds[2] = {{wake, POLLIN, 0}, {socket, events, 0}};
    const int count = socket >= 0 ? 2 : 1;
    for (;;) {
        const int ready = poll(fds, count, timeoutMs);
        if (ready >= 0 || errno != EINTR)
            return ready;
    }
}

} // namespace

CloudPushListener::CloudPushListener(QString uri, std::optional<QString> password, QString channel,
                                     Changed changed, Listening listening, Backoff backoff)
    : m_uri(std::move(uri))
    , m_password(std::move(password))
    , m_channel(std::move(channel))
    , m_changed(std::move(changed))
    , m_listeningChanged(std::move(listening))
    , m_backoff(backoff)
{
    static std::once_flag ignored;
    std::call_once(ignored, [] { std::signal(SIGPIPE, SIG_IGN); });
    if (pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("zestra: the cloud push listener cannot start");
        return;
    }
    m_thread = std::thread([this] { run(); });
}

CloudPushListener::~CloudPushListener()
{
    m_stopping = true;
    if (m_wake[1] >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t written = write(m_wake[1], &byte, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    for (const int fd : m_wake) {
        if (fd >= 0)
            close(fd);
    }
}

void CloudPushListener::run()
{
    std::chrono::milliseconds delay = m_backoff.first;
    bool gap = false;
    while (!m_stopping) {
        pg_conn* connection = connect();
        if (connection && listen(connection)) {
            delay = m_backoff.first;
            ++m_connections;
            setListening(true);
            if (gap && m_changed)
                m_changed();
            while (hear(connection)) {
            }
            setListening(false);
        }
        PQfinish(connection);
        gap = true;
        if (m_stopping || !pause(delay))
            break;
        delay = std::min(delay * 2, m_backoff.longest);
    }
}

pg_conn* CloudPushListener::connect()
{
    const QByteArray uri = m_uri.toUtf8();
    const QByteArray password = m_password.value_or(QString()).toUtf8();
    // Keepalives notice a connection that died without a word; the URI may say otherwise.
    const char* keywords[] = {"keepalives_idle",
                              "keepalives_interval",
                              "keepalives_count",
                              "dbname",
                              m_password ? "password" : nullptr,
                              nullptr};
    const char* values[] = {
        "60", "10", "3", uri.constData(), m_password ? password.constData() : nullptr, nullptr};
    // Started without blocking, so that stopping need not wait for a server that is away.
    PGconn* connection = PQconnectStartParams(keywords, values, 1);
    if (!connection || PQstatus(connection) == CONNECTION_BAD) {
        PQfinish(connection);
        return nullptr;
    }
    PostgresPollingStatusType status = PGRES_POLLING_WRITING;
    while (status != PGRES_POLLING_OK && status != PGRES_POLLING_FAILED && !m_stopping) {
        const short events = status == PGRES_POLLING_READING ? POLLIN : POLLOUT;
        if (waitFor(PQsocket(connection), events, m_wake[0], connectStepMs) <= 0)
            break;
        if (m_stopping)
            break;
        status = PQconnectPoll(connection);
    }
    if (status != PGRES_POLLING_OK) {
        PQfinish(connection);
        return nullptr;
    }
    PQsetNoticeProcessor(connection, &ignoreNotice, nullptr);
    return connection;
}

bool CloudPushListener::listen(pg_conn* connection)
{
    const QByteArray channel = m_channel.toUtf8();
    char* quoted = PQescapeIdentifier(connection, channel.constData(), channel.size());
    if (!quoted)
        return false;
    const QByteArray statement = QByteArray("LISTEN ") + quoted;
    PGresult* result = PQexec(connection, statement.constData());
    PQfreemem(quoted);
    const bool ok = result && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    return ok;
}

bool CloudPushListener::hear(pg_conn* connection)
{
    if (waitFor(PQsocket(connection), POLLIN, m_wake[0], -1) < 0 || m_stopping)
        return false;
    if (!PQconsumeInput(connection))
        return false;
    while (PGnotify* notify = PQnotifies(connection)) {
        PQfreemem(notify);
        if (m_changed)
            m_changed();
    }
    return PQstatus(connection) == CONNECTION_OK;
}

bool CloudPushListener::pause(std::chrono::milliseconds delay)
{
    waitFor(-1, 0, m_wake[0], int(delay.count()));
    return !m_stopping;
}

void CloudPushListener::setListening(bool listening)
{
    m_listening = listening;
    if (m_listeningChanged)
        m_listeningChanged(listening);
}
