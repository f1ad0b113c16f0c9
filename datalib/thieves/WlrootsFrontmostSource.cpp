#include "thieves/WlrootsFrontmostSource.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <wayland-client.h>

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

struct WlrootsFrontmostSource::Toplevel {
    WlrootsFrontmostSource* source = nullptr;
    zwlr_foreign_toplevel_handle_v1* handle = nullptr;
    // As of the last `done`; the pending fields gather the events before it.
    QString appId;
    QString title;
    bool activated = false;
    QString pendingAppId;
    QString pendingTitle;
    bool pendingActivated = false;
};

WlrootsFrontmostSource::WlrootsFrontmostSource(const QByteArray& display)
{
    if (display.isEmpty())
        return;
    m_display = wl_display_connect(display.constData());
    if (!m_display)
        return;
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener(), this);
    // The first round trip binds the list; the second brings the toplevels already open.
    if (wl_display_roundtrip(m_display) < 0 || !m_manager || wl_display_roundtrip(m_display) < 0)
        disconnect();
    else
        m_seeing = true;
}

WlrootsFrontmostSource::~WlrootsFrontmostSource()
{
    disconnect();
}

void WlrootsFrontmostSource::disconnect()
{
    m_seeing = false;
    for (const std::unique_ptr<Toplevel>& toplevel : m_toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    m_toplevels.clear();
    if (m_manager)
        zwlr_foreign_toplevel_manager_v1_destroy(m_manager);
    m_manager = nullptr;
    if (m_registry)
        wl_registry_destroy(m_registry);
    m_registry = nullptr;
    if (m_display)
        wl_display_disconnect(m_display);
    m_display = nullptr;
    m_last.reset();
}

bool WlrootsFrontmostSource::canSee() const
{
    return m_seeing;
}

const wl_registry_listener& WlrootsFrontmostSource::registryListener()
{
    static const wl_registry_listener listener = {
        [](void* data, wl_registry* registry, uint32_t name, const char* interface,
           uint32_t version) {
            auto* self = static_cast<WlrootsFrontmostSource*>(data);
            if (self->m_manager ||
                strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
                return;
            self->m_manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(
                wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                                 std::min(version, 3u)));
            zwlr_foreign_toplevel_manager_v1_add_listener(self->m_manager, &managerListener(),
                                                          self);
        },
        [](void*, wl_registry*, uint32_t) {},
    };
    return listener;
}

const zwlr_foreign_toplevel_manager_v1_listener& WlrootsFrontmostSource::managerListener()
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        [](void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
            auto* self = static_cast<WlrootsFrontmostSource*>(data);
            auto toplevel = std::make_unique<Toplevel>();
            toplevel->source = self;
            toplevel->handle = handle;
            zwlr_foreign_toplevel_handle_v1_add_listener(handle, &toplevelListener(),
                                                         toplevel.get());
            self->m_toplevels.push_back(std::move(toplevel));
        },
        // The compositor stopped the list (it is shutting down): nothing more will be seen.
        [](void* data, zwlr_foreign_toplevel_manager_v1* manager) {
            auto* self = static_cast<WlrootsFrontmostSource*>(data);
            zwlr_foreign_toplevel_manager_v1_destroy(manager);
            self->m_manager = nullptr;
            self->m_seeing = false;
        },
    };
    return listener;
}

const zwlr_foreign_toplevel_handle_v1_listener& WlrootsFrontmostSource::toplevelListener()
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title =
            [](void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
                static_cast<Toplevel*>(data)->pendingTitle = QString::fromUtf8(title);
            },
        .app_id =
            [](void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
                static_cast<Toplevel*>(data)->pendingAppId = QString::fromUtf8(appId);
            },
        .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
        .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
        .state =
            [](void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
                const auto* begin = static_cast<const uint32_t*>(states->data);
                const auto* end = begin + states->size / sizeof(uint32_t);
                static_cast<Toplevel*>(data)->pendingActivated =
                    std::find(begin, end, ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) != end;
            },
        .done =
            [](void* data, zwlr_foreign_toplevel_handle_v1*) {
                auto* toplevel = static_cast<Toplevel*>(data);
                toplevel->appId = toplevel->pendingAppId;
                toplevel->title = toplevel->pendingTitle;
                toplevel->activated = toplevel->pendingActivated;
            },
        .closed =
            [](void* data, zwlr_foreign_toplevel_handle_v1* handle) {
                auto* toplevel = static_cast<Toplevel*>(data);
                std::vector<std::unique_ptr<Toplevel>>& all = toplevel->source->m_toplevels;
                zwlr_foreign_toplevel_handle_v1_destroy(handle);
                std::erase_if(all, [toplevel](const auto& t) { return t.get() == toplevel; });
            },
        .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
    };
    return listener;
}

bool WlrootsFrontmostSource::readArrived()
{
    // The queue may hold events read by a round trip; they must be handled before reading.
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0)
            return false;
    }
    // A full socket buffer is not an error: what is left goes out with the next sample.
    if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(m_display);
        return false;
    }
    pollfd descriptor{wl_display_get_fd(m_display), POLLIN, 0};
    if (poll(&descriptor, 1, 0) > 0) {
        if (wl_display_read_events(m_display) < 0)
            return false;
    } else {
        wl_display_cancel_read(m_display);
    }
    return wl_display_dispatch_pending(m_display) >= 0;
}

std::optional<FrontmostApplication> WlrootsFrontmostSource::frontmost()
{
    if (!m_display || !m_manager)
        return std::nullopt;
    // A compositor that went away is not said every second: the source just stops seeing.
    if (!readArrived() || !m_manager) {
        disconnect();
        return std::nullopt;
    }
    const auto active = std::find_if(m_toplevels.cbegin(), m_toplevels.cend(),
                                     [](const auto& toplevel) { return toplevel->activated; });
    if (active == m_toplevels.cend())
        return std::nullopt;
    const Toplevel& toplevel = **active;
    // Unknown applications tell apart by their title, as they do on X11 by their class.
    const QString key =
        toplevel.appId.isEmpty() ? QLatin1Char('\n') + toplevel.title : toplevel.appId;
    if (!m_last || key != m_lastAppId) {
        m_last = describe(toplevel);
        m_lastAppId = key;
    }
    return m_last;
}

FrontmostApplication WlrootsFrontmostSource::describe(const Toplevel& toplevel)
{
    FrontmostApplication application;
    if (const std::optional<DesktopEntry> entry =
            toplevel.appId.isEmpty() ? std::nullopt
                                     : m_entries.match(toplevel.appId, toplevel.appId, QString())) {
        application.identifier = entry->id;
        application.name = entry->name;
        application.icon = entry->icon;
    } else {
        application.name = toplevel.appId.isEmpty() ? toplevel.title : toplevel.appId;
    }
    return application;
}
