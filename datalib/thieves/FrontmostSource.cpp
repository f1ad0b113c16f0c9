#include "thieves/FrontmostSource.h"

#include "thieves/X11FrontmostSource.h"

namespace {

// Wayland without a supported compositor, or no display at all.
class BlindSource final : public FrontmostSource {
public:
    bool canSee() const override { return false; }
    std::optional<FrontmostApplication> frontmost() override { return std::nullopt; }
};

} // namespace

FrontmostSource::~FrontmostSource() = default;

std::unique_ptr<FrontmostSource> FrontmostSource::forSession()
{
    auto x11 = std::make_unique<X11FrontmostSource>(qgetenv("DISPLAY"));
    if (x11->canSee())
        return x11;
    return std::make_unique<BlindSource>();
}
