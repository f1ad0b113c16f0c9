#pragma once

#include <functional>
#include <memory>

#include <QtGlobal>

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

    // Runs fn on a context the clock owns (not the main thread) once the clock reaches
    // `deadline`, seconds since the reference date. fn runs on the clock's own time, so it
    // must only hand work on (post to a queue), never block. Returns an id for
    // cancelCall(), never 0. A call already running is not waited for.
    virtual quint64 callAt(double deadline, std::function<void()> fn) = 0;
    virtual void cancelCall(quint64 id) = 0;

    static std::shared_ptr<Clock> shared();
    // Installs a clock for the whole process; nullptr restores the system clock.
    static void setShared(std::shared_ptr<Clock> clock);

    // Shorthand for shared()->now().
    static double current();
};
