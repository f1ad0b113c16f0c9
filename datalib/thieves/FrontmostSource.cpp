#include "thieves/FrontmostSource.h"

#include "thieves/KWinFrontmostSource.h"
#include "thieves/WlrootsFrontmostSource.h"
#include "thieves/X11FrontmostSource.h"

namespace {

// Wayland without a supported compositor, or no display at all.
class BlindSource final : public FrontmostSource {
public:
    bool canSee() const override { return false; }
    std::optional<FrontmostApplication> frontmost() override { return std::nullopt; }
};

template <typename Source, typename... Arguments>
std::unique_ptr<FrontmostSource> ifItSees(Arguments&&... arguments)
{
    auto source = std::make_unique<Source>(std::forward<Arguments>(arguments)...);
    if (source->canSee())
        return source;
    return nullptr;
}

} // namespace

FrontmostSource::~FrontmostSource() = default;

std::unique_ptr<FrontmostSource> FrontmostSource::forSession()
{
    // On Wayland the compositor's own account comes first; XWayland sees only its own windows.
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (!wayland.isEmpty()) {
        if (auto wlroots = ifItSees<WlrootsFrontmostSource>(wayland))
            return wlroots;
        if (auto kwin = ifItSees<KWinFrontmostSource>())
            return kwin;
    }
    if (auto x11 = ifItSees<X11FrontmostSource>(qgetenv("DISPLAY")))
        return x11;
    return std::make_unique<BlindSource>();
}
