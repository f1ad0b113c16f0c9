// A Wayland window with the app_id and title given on the command line, kept open until the
// process is killed or the compositor goes. The sway tests start two of these.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <wayland-client.h>

#include "xdg-shell-client-protocol.h"

namespace {

struct Window {
    wl_compositor* compositor = nullptr;
    wl_shm* shm = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_surface* surface = nullptr;
    wl_buffer* buffer = nullptr;
    bool shown = false;
};

constexpr int side = 32;

void bind(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* window = static_cast<Window*>(data);
    if (strcmp(interface, wl_compositor_interface.name) == 0)
        window->compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (strcmp(interface, wl_shm_interface.name) == 0)
        window->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (strcmp(interface, xdg_wm_base_interface.name) == 0)
        window->shell =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
}

const wl_registry_listener registryListener = {bind, [](void*, wl_registry*, uint32_t) {}};

const xdg_wm_base_listener shellListener = {
    [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }};

// A window without content is never mapped, so it gets one opaque buffer.
wl_buffer* makeBuffer(wl_shm* shm)
{
    const int stride = side * 4;
    const int size = stride * side;
    const int fd = memfd_create("zestra-test-client", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, size) != 0)
        return nullptr;
    void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    memset(pixels, 0x80, size);
    munmap(pixels, size);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, size);
    wl_buffer* buffer =
        wl_shm_pool_create_buffer(pool, 0, side, side, stride, WL_SHM_FORMAT_XRGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return buffer;
}

const xdg_surface_listener surfaceListener = {
    [](void* data, xdg_surface* surface, uint32_t serial) {
        auto* window = static_cast<Window*>(data);
        xdg_surface_ack_configure(surface, serial);
        if (!window->shown) {
            wl_surface_attach(window->surface, window->buffer, 0, 0);
            window->shown = true;
        }
        wl_surface_commit(window->surface);
    }};

const xdg_toplevel_listener toplevelListener = {
    [](void*, xdg_toplevel*, int32_t, int32_t, wl_array*) {},
    [](void*, xdg_toplevel*) { _exit(0); },
    [](void*, xdg_toplevel*, int32_t, int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s APP_ID TITLE\n", argv[0]);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        perror("wl_display_connect");
        return 1;
    }
    Window window;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &window);
    wl_display_roundtrip(display);
    if (!window.compositor || !window.shm || !window.shell) {
        fprintf(stderr, "the compositor lacks wl_compositor, wl_shm or xdg_wm_base\n");
        return 1;
    }
    xdg_wm_base_add_listener(window.shell, &shellListener, nullptr);
    window.buffer = makeBuffer(window.shm);
    window.surface = wl_compositor_create_surface(window.compositor);
    xdg_surface* surface = xdg_wm_base_get_xdg_surface(window.shell, window.surface);
    xdg_surface_add_listener(surface, &surfaceListener, &window);
    xdg_toplevel* toplevel = xdg_surface_get_toplevel(surface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, nullptr);
    xdg_toplevel_set_app_id(toplevel, argv[1]);
    xdg_toplevel_set_title(toplevel, argv[2]);
    wl_surface_commit(window.surface);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
