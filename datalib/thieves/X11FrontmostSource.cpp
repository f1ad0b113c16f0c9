#include "thieves/X11FrontmostSource.h"

#include <xcb/xcb.h>

#include <QFileInfo>

X11FrontmostSource::X11FrontmostSource(const QByteArray& display)
{
    if (display.isEmpty())
        return;
    int screenNumber = 0;
    m_connection = xcb_connect(display.constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    m_root = screens.data->root;
    m_activeWindow = atom("_NET_ACTIVE_WINDOW");
    m_pid = atom("_NET_WM_PID");
    m_netWmName = atom("_NET_WM_NAME");
    m_utf8String = atom("UTF8_STRING");
    // Without a window manager that announces the active window there is nothing to follow.
    if (!property(m_root, m_activeWindow, XCB_ATOM_WINDOW, 1))
        m_activeWindow = XCB_ATOM_NONE;
}

X11FrontmostSource::~X11FrontmostSource()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool X11FrontmostSource::canSee() const
{
    return m_connection && !xcb_connection_has_error(m_connection) && m_activeWindow;
}

quint32 X11FrontmostSource::atom(const char* name) const
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const quint32 value = reply->atom;
    free(reply);
    return value;
}

std::optional<QByteArray> X11FrontmostSource::property(quint32 window, quint32 name, quint32 type,
                                                       quint32 longs) const
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(m_connection, 0, window, name, type, 0, longs);
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, &error);
    // A window that closed since it was announced answers BadWindow.
    free(error);
    if (!reply)
        return std::nullopt;
    if (reply->type == XCB_ATOM_NONE) {
        free(reply);
        return std::nullopt;
    }
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    free(reply);
    return value;
}

std::optional<FrontmostApplication> X11FrontmostSource::frontmost()
{
    if (!canSee())
        return std::nullopt;
    const QByteArray active =
        property(m_root, m_activeWindow, XCB_ATOM_WINDOW, 1).value_or(QByteArray());
    if (active.size() != sizeof(quint32))
        return std::nullopt;
    quint32 window = 0;
    memcpy(&window, active.constData(), sizeof window);
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;
    if (window != m_last.window)
        m_last = Seen{window, describe(window)};
    // The title changes while the window stays: a browser's with each page.
    m_last.application.title = title(window);
    return m_last.application;
}

QString X11FrontmostSource::title(quint32 window) const
{
    // Both asked before either answer is awaited: one round trip. 256 longs is a kilobyte of
    // title, more than any window shows.
    const xcb_get_property_cookie_t utf8 =
        xcb_get_property(m_connection, 0, window, m_netWmName, m_utf8String, 0, 256);
    const xcb_get_property_cookie_t legacy = xcb_get_property(
        m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    QString text;
    for (const xcb_get_property_cookie_t cookie : {utf8, legacy}) {
        xcb_generic_error_t* error = nullptr;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, &error);
        free(error);
        if (!reply)
            continue;
        const int length = xcb_get_property_value_length(reply);
        if (text.isEmpty() && reply->type != XCB_ATOM_NONE && reply->format == 8 && length > 0) {
            const char* value = static_cast<const char*>(xcb_get_property_value(reply));
            // WM_NAME is Latin-1 (STRING) or compound text, whose ASCII reads the same.
            text = reply->type == m_utf8String ? QString::fromUtf8(value, length)
                                               : QString::fromLatin1(value, length);
        }
        free(reply);
    }
    return text;
}

FrontmostApplication X11FrontmostSource::describe(quint32 window)
{
    // WM_CLASS holds the instance and the class, each ending in a zero byte.
    const QList<QByteArray> wmClass =
        property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 64).value_or(QByteArray()).split('\0');
    const QString instance = wmClass.size() > 0 ? QString::fromLocal8Bit(wmClass[0]) : QString();
    const QString className = wmClass.size() > 1 ? QString::fromLocal8Bit(wmClass[1]) : QString();

    QString executable;
    const QByteArray pid = property(window, m_pid, XCB_ATOM_CARDINAL, 1).value_or(QByteArray());
    if (pid.size() == sizeof(quint32)) {
        quint32 value = 0;
        memcpy(&value, pid.constData(), sizeof value);
        // Only meaningful for a client on this machine; elsewhere the name rarely matches.
        executable =
            QFileInfo(QStringLiteral("/proc/%1/exe").arg(value)).symLinkTarget().section('/', -1);
    }

    FrontmostApplication application;
    if (const std::optional<DesktopEntry> entry =
            m_entries.match(className, instance, executable)) {
        application.identifier = entry->id;
        application.name = entry->name;
        application.icon = entry->icon;
    } else {
        application.name = !className.isEmpty()    ? className
                           : !executable.isEmpty() ? executable
                                                   : instance;
    }
    return application;
}
