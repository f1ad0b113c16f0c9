#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "reports/PomodoroRecord.h"
#include "store/Date.h"
#include "store/Goal.h"
#include "store/Pomodoro.h"
#include "store/ReportPeriod.h"
#include "store/Session.h"

class ReportDateFormatter;

// The pieces of HTML and chart data a report template is filled with. Every text that
// comes from the user or the cloud is escaped for the place it lands in.
class ReportFragments {
public:
    explicit ReportFragments(const ReportDateFormatter& formatter);

    // One record per task name (the generic name for tasks without a named task), the
    // most often finished first.
    static QList<PomodoroRecord> createRecords(const QList<Pomodoro>& pomodoros);

    static QString table(const QList<PomodoroRecord>& records, bool showBullet);
    // "[3, 2, 1]"
    static QString graphSerie(const QList<PomodoroRecord>& records);
    // "'6/1/26', ' ', ..." : every day of a short period, every fifth of a longer one.
    QString chartLabels(const QList<Date>& days) const;
    // "labels: [ <labels> ], series: [ [ 1, 0, 2 ] ]"
    static QString chartSerie(const QString& labels, const QList<int>& values);
    // "1. <name>" of the record at that place counted from 1; empty when there is none.
    static QString topLabel(const QList<PomodoroRecord>& records, int place);

    static QString widget(const QList<Pomodoro>& pomodoros);
    static QString widget(const std::optional<QList<Session>>& sessions);
    static QString widget(const std::optional<QList<Goal>>& goals);
    static QString dayGoal(bool achieved);

    QString tagline(const QList<Pomodoro>& pomodoros) const;
    QString tagline(const ReportPeriod& period) const;
    QString title(Date date) const;

private:
    const ReportDateFormatter& m_formatter;
};
