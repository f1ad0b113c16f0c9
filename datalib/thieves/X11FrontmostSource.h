#pragma once

#include <QByteArray>
#include <QHash>

#include "thieves/DesktopEntryIndex.h"
#include "thieves/FrontmostSource.h"

struct xcb_connection_t;

// The active window of an X11 display, as the window manager announces it on the root window
// (_NET_ACTIVE_WINDOW), traced to its desktop entry through WM_CLASS and _NET_WM_PID. It
// holds its own connection, so it never shares one with the interface.
class TALLYCORE_EXPORT X11FrontmostSource final : public FrontmostSource {
public:
    // An empty `display` never connects.
    explicit X11FrontmostSource(const QByteArray& display);
    ~X11FrontmostSource() override;
    X11FrontmostSource(const X11FrontmostSource&) = delete;
    X11FrontmostSource& operator=(const X11FrontmostSource&) = delete;

    // False when the display did not answer, announces no active window (no window manager
    // that says it), or its connection has since broken.
    bool canSee() const override;
    std::optional<FrontmostApplication> frontmost() override;

private:
    struct Seen {
        quint32 window = 0;
        FrontmostApplication application;
    };

    quint32 atom(const char* name) const;
    // The property's bytes; absent when the window lacks it or is gone.
    std::optional<QByteArray> property(quint32 window, quint32 name, quint32 type,
                                       quint32 longs) const;
    FrontmostApplication describe(quint32 window);
    // _NET_WM_NAME (UTF-8), else WM_NAME; empty when the window has neither.
    QString title(quint32 window) const;

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_activeWindow = 0;
    quint32 m_pid = 0;
    quint32 m_netWmName = 0;
    quint32 m_utf8String = 0;
    DesktopEntryIndex m_entries;
    // The last window seen: most samples find the same one in front.
    Seen m_last;
};
