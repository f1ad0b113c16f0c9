#pragma once

#include <QString>

// Writes a number of seconds as whole hours and minutes of HTML.
class DurationFormatter {
public:
    // "1 <small>h</small> 30 <small>m</small>"; empty under a minute.
    static QString plain(qint64 seconds);
    // The same in strong type; the hours-and-minutes form keeps its parts plain.
    static QString strong(qint64 seconds);
};
