#pragma once

#include <QVariantMap>

// The timer actions that other programs may ask for (zestra-cli, desktop shortcuts).
class TimerControl {
public:
    virtual ~TimerControl() = default;

    virtual void toggle() = 0;
    virtual void resetTimer() = 0;
    virtual void skipFreeTime() = 0;
    virtual void resetSession() = 0;
    virtual void resetGoal() = 0;
    virtual void showPopover() = 0;
    virtual void quit() = 0;
    // The hand-off record plus "remaining" (seconds left) and "status_title".
    virtual QVariantMap state() = 0;
    // Continues another computer's countdown from its hand-off record; false when the record
    // is incomplete.
    virtual bool continueCountdown(const QVariantMap& userInfo) = 0;
};
