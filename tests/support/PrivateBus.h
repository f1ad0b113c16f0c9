#pragma once

#include <QString>
#include <QTemporaryDir>

// A dbus-daemon of our own. The configuration names no service directories, so nothing on
// this machine can be activated to answer in place of the test's server.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    bool isRunning() const { return m_pid > 0 && !m_address.isEmpty(); }
    QString address() const { return m_address; }
    QString directory() const { return m_dir.path(); }

private:
    bool hasExited() const;

    QTemporaryDir m_dir;
    QString m_address;
    qint64 m_pid = 0;
};
