#pragma once

#include <memory>

#include <QByteArray>
#include <QProcess>
#include <QString>

// A bare X server of the test's own (no window manager), on a display number nobody uses.
class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();

    // False when Xvfb is not installed or would not start; `error()` says which.
    bool isRunning() const { return !m_name.isEmpty(); }
    QByteArray name() const { return m_name; }
    QString error() const { return m_error; }

private:
    bool startOn(const QString& program, int number);

    std::unique_ptr<QProcess> m_server;
    QByteArray m_name;
    QString m_error;
};
