#include "LocalPageServer.h"

#include <QTcpSocket>

LocalPageServer::LocalPageServer(const QByteArray& title)
    : m_title(title)
{
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { answer(); });
    m_server.listen(QHostAddress::LocalHost);
}

QString LocalPageServer::url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
}

void LocalPageServer::answer()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            // One request a connection; its headers are not needed.
            if (!socket->canReadLine())
                return;
            socket->readAll();
            ++m_requests;
            const QByteArray body =
                "<html><head><title>" + m_title + "</title></head><body>page</body></html>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                          "Content-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}
