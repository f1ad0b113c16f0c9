#pragma once

#include <QString>

// The six hours the thief window's timeline shows, moved an hour at a time between 0:00-6:00
// and 18:00-24:00.
class TimelineHours {
public:
    static constexpr int first = 0;
    static constexpr int last = 18;
    static constexpr int span = 6;

    int hour() const { return m_hour; }
    int endHour() const { return m_hour + span; }
    bool canGoBack() const { return m_hour > first; }
    bool canGoForward() const { return m_hour < last; }
    void back();
    void forward();

    // The hour label i (0 to 3) shows hour + 2i as a clock time; 24 reads as 0.
    QString label(int index) const;

private:
    int m_hour = 9;
};
