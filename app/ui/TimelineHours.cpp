#include "ui/TimelineHours.h"

#include <QTime>

#include "ui/ClockTime.h"

void TimelineHours::back()
{
    if (canGoBack())
        --m_hour;
}

void TimelineHours::forward()
{
    if (canGoForward())
        ++m_hour;
}

QString TimelineHours::label(int index) const
{
    const QTime time = QTime::fromString(
        QStringLiteral("%1:00").arg((m_hour + 2 * index) % 24, 2, 10, QLatin1Char('0')),
        QStringLiteral("HH:mm"));
    if (!time.isValid())
        return QStringLiteral("N/D");
    return ClockTime::text(time);
}
