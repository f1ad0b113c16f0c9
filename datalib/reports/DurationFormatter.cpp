#include "reports/DurationFormatter.h"

namespace {

QString hoursPart(qint64 hours)
{
    return QString::number(hours) + QStringLiteral(" <small>h</small>");
}

QString minutesPart(qint64 minutes)
{
    return QString::number(minutes) + QStringLiteral(" <small>m</small>");
}

QString format(qint64 seconds, bool strong)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    QString single;
    if (seconds < 3600) {
        if (minutes <= 0)
            return {};
        single = minutesPart(minutes);
    } else if (minutes == 0) {
        single = hoursPart(hours);
    } else {
        return hoursPart(hours) + QLatin1Char(' ') + minutesPart(minutes);
    }
    return strong ? QStringLiteral("<strong>") + single + QStringLiteral("</strong>") : single;
}

} // namespace

QString DurationFormatter::plain(qint64 seconds)
{
    return format(seconds, false);
}

QString DurationFormatter::strong(qint64 seconds)
{
    return format(seconds, true);
}
