#include "ui/TimeText.h"

#include <algorithm>

namespace {

QString twoDigits(int n)
{
    return n < 10 ? QLatin1Char('0') + QString::number(n) : QString::number(n);
}

} // namespace

QString TimeText::text(int remainingSeconds)
{
    // A hand-off can report a phase that already ran past its length.
    const int r = std::max(remainingSeconds, 0);
    return twoDigits(r / 60) + QLatin1Char(':') + twoDigits(r % 60);
}

const char* TimeText::unitKey(int remainingSeconds)
{
    return remainingSeconds < 61 ? "ACTIVITY_UNIT_SECONDS" : "ACTIVITY_UNIT_MINUTES";
}
