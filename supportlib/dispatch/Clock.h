#pragma once

#include <functional>
#include <memory>

#include "chimebox_export.h"

// The one source of "now" for the whole system: seconds since 2001-01-01 00:00:00 UTC.
// Tests install a ManualClock so that days, times of day and delays are theirs to set.
class CHIMEBOX_EXPORT Clock {
public:
    // Seconds between 1970-01-01 and 2001-01-01 (UTC).
    static constexpr double referenceDateOffset = 978307200.0;

    virtual ~Clock();

    virtual double now() const = 0;

    // Runs fn on the main thread once `seconds` have passed on this clock.
    virtual void callAfter(double seconds, std::function<void()> fn) = 0;

    static std::shared_ptr<Clock> shared();
    // Installs a clock for the whole process; nullptr restores the system clock.
    static void setShared(std::shared_ptr<Clock> clock);

    // Shorthand for shared()->now().
    static double current();
};
