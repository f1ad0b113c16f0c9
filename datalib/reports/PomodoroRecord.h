#pragma once

#include <QList>
#include <QString>

#include "tallycore_export.h"

// One row of a report: a task (or, in a task's own report, a day) with how many times it
// was finished and for how long in all.
class TALLYCORE_EXPORT PomodoroRecord {
public:
    explicit PomodoroRecord(QString named, qint64 iterations = 0, qint64 timeDuration = 0);

    QString name;
    qint64 iterations = 0;
    // Seconds.
    qint64 duration = 0;

    // "1 <small>h</small> 30 <small>m</small>"; empty under a minute.
    QString formattedHTMLDuration() const;

    // Records are the same row when they have the same name; they rank by iterations.
    friend bool operator==(const PomodoroRecord& a, const PomodoroRecord& b)
    {
        return a.name == b.name;
    }
    friend bool operator<(const PomodoroRecord& a, const PomodoroRecord& b)
    {
        return a.iterations < b.iterations;
    }
};

// The list operations: the duration over the sum of the records' durations, in strong type,
// and the sum of their iterations.
TALLYCORE_EXPORT QString formattedHTMLDuration(const QList<PomodoroRecord>& records);
TALLYCORE_EXPORT qint64 iterations(const QList<PomodoroRecord>& records);
