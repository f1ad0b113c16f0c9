#pragma once

#include <QString>
#include <QTime>

// A clock time in the user's short style, to the minute.
class ClockTime {
public:
    static QString text(const QTime& time);
};
