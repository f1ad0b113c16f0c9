#pragma once

#include <memory>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A sway of the test's own on the headless backend, in a private runtime folder, with no
// Xwayland. As root (sway refuses to run as root) it runs as the unprivileged user nobody.
class HeadlessSway {
public:
    HeadlessSway();
    ~HeadlessSway();

    // False when sway is not installed or would not start; `error()` says why.
    bool isRunning() const { return !m_display.isEmpty(); }
    QString error() const { return m_error; }
    // The path of its Wayland socket, as WAYLAND_DISPLAY takes it.
    QByteArray display() const { return m_display; }

    // Runs a sway command (e.g. `[app_id="x"] focus`); false when sway refused it.
    bool command(const QString& command);
    // A test client window with this app_id, running until the returned process is killed.
    std::unique_ptr<QProcess> openWindow(const QString& appId, const QString& title);
    // Ends the compositor, as a crash or logout would.
    void quit();

private:
    bool waitForSockets();

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_sway;
    QByteArray m_display;
    QString m_ipcSocket;
    QString m_error;
};
