#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QByteArray>

#include "thieves/DesktopEntryIndex.h"
#include "thieves/FrontmostSource.h"

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct wl_registry_listener;
struct zwlr_foreign_toplevel_manager_v1_listener;
struct zwlr_foreign_toplevel_handle_v1_listener;

// The activated toplevel of a wlroots compositor (sway, Hyprland, labwc, river), as its
// foreign-toplevel list announces it; the toplevel's app_id is its desktop entry id. It holds
// its own Wayland connection, so it never shares one with the interface, and reads what the
// compositor sent without ever waiting for it.
class TALLYCORE_EXPORT WlrootsFrontmostSource final : public FrontmostSource {
public:
    // `display`: a socket name or path, as $WAYLAND_DISPLAY holds it; empty never connects.
    explicit WlrootsFrontmostSource(const QByteArray& display);
    ~WlrootsFrontmostSource() override;
    WlrootsFrontmostSource(const WlrootsFrontmostSource&) = delete;
    WlrootsFrontmostSource& operator=(const WlrootsFrontmostSource&) = delete;

    // False when the compositor did not answer, offers no toplevel list, or has since gone.
    bool canSee() const override;
    std::optional<FrontmostApplication> frontmost() override;

private:
    struct Toplevel;

    // The listeners, whose callbacks reach the private state.
    static const wl_registry_listener& registryListener();
    static const zwlr_foreign_toplevel_manager_v1_listener& managerListener();
    static const zwlr_foreign_toplevel_handle_v1_listener& toplevelListener();

    // Reads and handles what already arrived; false once the connection is broken.
    bool readArrived();
    void disconnect();
    FrontmostApplication describe(const Toplevel& toplevel);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* m_manager = nullptr;
    // Read by canSee() on any thread while the queue samples.
    std::atomic<bool> m_seeing = false;
    std::vector<std::unique_ptr<Toplevel>> m_toplevels;
    DesktopEntryIndex m_entries;
    // The last toplevel described: most samples find the same one in front.
    QString m_lastAppId;
    std::optional<FrontmostApplication> m_last;
};
