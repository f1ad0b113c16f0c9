#include "reports/PomodoroRecord.h"

#include "reports/DurationFormatter.h"

PomodoroRecord::PomodoroRecord(QString named, qint64 iterations, qint64 timeDuration)
    : name(std::move(named))
    , iterations(iterations)
    , duration(timeDuration)
{}

QString PomodoroRecord::formattedHTMLDuration() const
{
    return DurationFormatter::plain(duration);
}

QString formattedHTMLDuration(const QList<PomodoroRecord>& records)
{
    qint64 total = 0;
    for (const PomodoroRecord& record : records)
        total += record.duration;
    return DurationFormatter::strong(total);
}

qint64 iterations(const QList<PomodoroRecord>& records)
{
    qint64 total = 0;
    for (const PomodoroRecord& record : records)
        total += record.iterations;
    return total;
}
