#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include <QString>

#include "tallycore_export.h"

struct pg_conn;

// Listens on the account's secret channel on a connection and thread of its own, and calls
// `changed` (on that thread) for each change the server announces. A connection that drops
// is rebuilt, waiting longer after each failed attempt; once rebuilt, `changed` is called
// once more, since whatever was announced in the gap is lost.
class TALLYCORE_EXPORT CloudPushListener {
public:
    using Changed = std::function<void()>;
    // Told when the listener starts or stops hearing the channel.
    using Listening = std::function<void(bool listening)>;

    struct Backoff {
        std::chrono::milliseconds first;
        std::chrono::milliseconds longest;
    };

    CloudPushListener(QString uri, std::optional<QString> password, QString channel,
                      Changed changed, Listening listening = {},
                      Backoff backoff = {std::chrono::seconds(1), std::chrono::seconds(60)});
    // Returns once the thread has ended, without waiting out a back-off or a connection.
    ~CloudPushListener();
    CloudPushListener(const CloudPushListener&) = delete;
    CloudPushListener& operator=(const CloudPushListener&) = delete;

    bool isListening() const { return m_listening.load(); }
    // How many connections were made, the first included.
    int connections() const { return m_connections.load(); }

private:
    void run();
    // Null when stopping or the server cannot be reached.
    pg_conn* connect();
    bool listen(pg_conn* connection);
    // False once the connection dropped or the listener stops.
    bool hear(pg_conn* connection);
    // False when woken to stop.
    bool pause(std::chrono::milliseconds delay);
    void setListening(bool listening);

    const QString m_uri;
    const std::optional<QString> m_password;
    const QString m_channel;
    const Changed m_changed;
    const Listening m_listeningChanged;
    const Backoff m_backoff;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_listening{false};
    std::atomic<int> m_connections{0};
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
};
