#pragma once

#include <QImage>

// The tray icon while the application runs: a ring that fills clockwise from the top with
// the phase's colour, and the minutes left inside it when they fit. Trays cannot show text,
// so this is what stands in for the title next to the icon.
class TrayIconPainter {
public:
    // minutesLeft is -1 when no countdown has started; progress is the part of the phase
    // already done, 0 to 1. The image is size × size pixels on transparent.
    static QImage paint(int size, int minutesLeft, double progress, bool freeTime, bool paused);
};
