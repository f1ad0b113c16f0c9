#pragma once

#include <QTcpServer>

// Serves one small HTML page, with the given title, to any GET on 127.0.0.1; answers as the
// main thread's events run.
class LocalPageServer {
public:
    explicit LocalPageServer(const QByteArray& title);

    bool isListening() const { return m_server.isListening(); }
    QString url(const QString& path) const;
    int requests() const { return m_requests; }

private:
    void answer();

    QTcpServer m_server;
    QByteArray m_title;
    int m_requests = 0;
};
