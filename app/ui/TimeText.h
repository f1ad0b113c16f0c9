#pragma once

#include <QString>

// How the countdown reads: "MM:SS" (minutes not capped), the unit under it, and the tray title.
class TimeText {
public:
    static QString text(int remainingSeconds);
    // "ACTIVITY_UNIT_SECONDS" for the last minute (60 seconds and fewer), otherwise
    // "ACTIVITY_UNIT_MINUTES".
    static const char* unitKey(int remainingSeconds);
    static QString statusTitle(int remainingSeconds)
    {
        return QLatin1Char(' ') + text(remainingSeconds);
    }
    static QString pausedStatusTitle() { return QStringLiteral(" --:--"); }
};
