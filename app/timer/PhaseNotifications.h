#pragma once

#include <QByteArray>
#include <QString>

#include "timer/Activity.h"

// The user notifications of the timer: the end of a phase, a completed session, the goal.
// Nothing is delivered while "ShowNotifications" is off.
class PhaseNotifications {
public:
    static void phaseEnded(Activity::Phase ended);
    static void workSessionCompleted(const QString& title, const QString& text,
                                     const QByteArray& image);
};
