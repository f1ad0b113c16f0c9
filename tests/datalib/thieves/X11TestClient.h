#pragma once

#include <QByteArray>

struct xcb_connection_t;

// Windows of made-up applications, and the part of a window manager that announces which
// one is active: what a bare X server lacks.
class X11TestClient {
public:
    explicit X11TestClient(const QByteArray& display);
    ~X11TestClient();
    X11TestClient(const X11TestClient&) = delete;
    X11TestClient& operator=(const X11TestClient&) = delete;

    bool isConnected() const;
    // A window with WM_CLASS "instance", "className" and, unless 0, _NET_WM_PID.
    quint32 createWindow(const QByteArray& instance, const QByteArray& className, quint32 pid = 0);
    // Sets the window's _NET_WM_NAME (UTF-8), or only its WM_NAME as older clients do.
    void setTitle(quint32 window, const QByteArray& utf8, bool onlyWmName = false);
    // Sets _NET_ACTIVE_WINDOW on the root window (0: none), and waits until the server has it.
    void activate(quint32 window);
    // Takes _NET_ACTIVE_WINDOW off the root window: no window manager announces anything.
    void withdraw();

private:
    quint32 atom(const char* name);
    void sync();

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
};
