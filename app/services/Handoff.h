#pragma once

#include <QString>
#include <QVariantMap>

class ActivityManager;

// The record that lets another computer continue the running countdown: built after every
// tick, restored on request.
class Handoff {
public:
    static constexpr const char* kProductIdentifier = "org.zestra.Zestra";
    static constexpr const char* taskNamedNotification = "ZestraHandoffTaskNamed";
    // Posted by publish() when the record changed in more than its elapsed time.
    static constexpr const char* changedNotification = "ZestraHandoffChanged";

    static QString activityType();
    static QString title() { return QStringLiteral("Zestra Timer"); }

    // current_time, task, current_session, current_goal, on_activity, is_paused.
    static QVariantMap userInfo(ActivityManager& manager);
    // Builds the record and keeps it as the current one; called after every tick and after
    // every change of the pause, the task or the counters.
    static void publish(ActivityManager& manager);
    static QVariantMap current();

    // Applies a record from elsewhere; an incomplete one changes nothing (false).
    static bool restore(ActivityManager& manager, const QVariantMap& userInfo);
};
