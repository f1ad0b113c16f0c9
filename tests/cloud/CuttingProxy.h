#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include <QByteArray>
#include <QString>

// A TCP port in front of the test server's Unix socket that can cut a connection at the worst
// moment: after the server committed a statement and before its answer reaches the client.
class CuttingProxy {
public:
    explicit CuttingProxy(const QString& serverUri);
    ~CuttingProxy();
    CuttingProxy(const CuttingProxy&) = delete;
    CuttingProxy& operator=(const CuttingProxy&) = delete;

    // `serverUri` with its host and port made this proxy's; empty when it could not listen.
    QString uri() const { return m_uri; }
    // The next connection that sends `marker` gets the server's answer withheld and is closed.
    void cutAfterAnswerTo(const QByteArray& marker);
    int cuts() const { return m_cuts; }

private:
    void run();

    QString m_uri;
    QString m_socketPath;
    int m_listener = -1;
    std::mutex m_mutex;
    QByteArray m_marker;
    std::atomic<int> m_cuts{0};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
