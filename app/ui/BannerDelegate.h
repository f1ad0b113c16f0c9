#pragma once

// Told when the user closes the banner; implemented by the popover container.
class BannerDelegate {
public:
    virtual ~BannerDelegate() = default;

    virtual void bannerClosed() = 0;
};
