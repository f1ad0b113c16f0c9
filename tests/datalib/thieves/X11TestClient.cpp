#include "datalib/thieves/X11TestClient.h"

#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>

X11TestClient::X11TestClient(const QByteArray& display)
{
    m_connection = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(m_connection))
        return;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
}

X11TestClient::~X11TestClient()
{
    xcb_disconnect(m_connection);
}

bool X11TestClient::isConnected() const
{
    return !xcb_connection_has_error(m_connection);
}

quint32 X11TestClient::atom(const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(strlen(name)), name),
        nullptr);
    const quint32 value = reply ? reply->atom : 0;
    free(reply);
    return value;
}

void X11TestClient::sync()
{
    free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

quint32 X11TestClient::createWindow(const QByteArray& instance, const QByteArray& className,
                                    quint32 pid)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    QByteArray wmClass = instance;
    wmClass.append('\0').append(className).append('\0');
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<uint32_t>(wmClass.size()),
                        wmClass.constData());
    if (pid)
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_PID"),
                            XCB_ATOM_CARDINAL, 32, 1, &pid);
    xcb_map_window(m_connection, window);
    sync();
    return window;
}

void X11TestClient::setTitle(quint32 window, const QByteArray& utf8, bool onlyWmName)
{
    if (onlyWmName)
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, static_cast<uint32_t>(utf8.size()),
                            utf8.constData());
    else
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_NAME"),
                            atom("UTF8_STRING"), 8, static_cast<uint32_t>(utf8.size()),
                            utf8.constData());
    sync();
}

void X11TestClient::activate(quint32 window)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, atom("_NET_ACTIVE_WINDOW"),
                        XCB_ATOM_WINDOW, 32, 1, &window);
    sync();
}

void X11TestClient::withdraw()
{
    xcb_delete_property(m_connection, m_root, atom("_NET_ACTIVE_WINDOW"));
    sync();
}
