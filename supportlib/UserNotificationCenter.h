#pragma once

#include <QByteArray>
#include <QString>

#include "chimebox_export.h"

// What a user notification says.
struct CHIMEBOX_EXPORT UserNotification {
    QString identifier;
    QString title;
    QString informativeText;
    // Encoded picture (PNG or SVG) shown with the notification; empty for none.
    QByteArray contentImage;

    // `prefix` followed by the seconds since 1970 in the shortest decimal form that reads
    // back as the same number, e.g. "velloran_pomodoro_1765105200.123456".
    static QString identifierWithPrefix(const QString& prefix, double secondsSince1970);
};

// Delivers user notifications to the desktop's notification server on the session bus.
// Never blocks and never fails loudly: without a server nothing is shown.
class CHIMEBOX_EXPORT UserNotificationCenter {
public:
    static UserNotificationCenter& shared();
    virtual ~UserNotificationCenter();

    virtual void deliver(const UserNotification& notification) = 0;

    // Tests replace the centre; nullptr restores the desktop's.
    static void setShared(UserNotificationCenter* center);
};
