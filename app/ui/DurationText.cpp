#include "ui/DurationText.h"

QString DurationText::text(int seconds)
{
    QString text;
    if (seconds >= 3600)
        text = QString::number(seconds / 3600) + QStringLiteral(" h");
    const int left = seconds % 3600;
    // The blank separates minutes from hours, and is kept when there are no hours.
    if (left >= 60)
        text += QStringLiteral(" ") + QString::number(left / 60) + QStringLiteral(" min");
    return text;
}
