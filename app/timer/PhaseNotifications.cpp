#include "timer/PhaseNotifications.h"

#include "UserNotificationCenter.h"
#include "dispatch/Clock.h"
#include "settings/Settings.h"
#include "store/Localization.h"

namespace {

bool allowed()
{
    return Settings::shared().boolValue(QLatin1String(Settings::ShowNotifications));
}

double secondsSince1970()
{
    return Clock::current() + Clock::referenceDateOffset;
}

} // namespace

void PhaseNotifications::phaseEnded(Activity::Phase ended)
{
    if (!allowed())
        return;
    const bool task = ended == Activity::Phase::task;
    UserNotification notification;
    notification.identifier = UserNotification::identifierWithPrefix(
        QStringLiteral("velloran_pomodoro_"), secondsSince1970());
    notification.title =
        Localization::text(task ? "NOTIFICATION_TASK_TITLE" : "NOTIFICATION_FREE_TITLE");
    notification.informativeText =
        Localization::text(task ? "NOTIFICATION_TASK_TEXT" : "NOTIFICATION_FREE_TEXT");
    UserNotificationCenter::shared().deliver(notification);
}

void PhaseNotifications::workSessionCompleted(const QString& title, const QString& text,
                                              const QByteArray& image)
{
    if (!allowed())
        return;
    UserNotification notification;
    notification.identifier = UserNotification::identifierWithPrefix(
        QStringLiteral("velloran_pomodoro_session_"), secondsSince1970());
    notification.title = title;
    notification.informativeText = text;
    notification.contentImage = image;
    UserNotificationCenter::shared().deliver(notification);
}
