#pragma once

#include <QString>

#include "store/Date.h"

class PomodoroRecords;

// Writes one day's pomodoros as CSV, for the user to keep or open elsewhere.
class CsvExporter {
public:
    explicit CsvExporter(PomodoroRecords& pomodoros);

    bool exportToCSV(const QString& toCSV, Date activitiyOfDay);

    // Quotes a field only when it holds a separator, a quote or a line break.
    static QString field(const QString& text);

private:
    PomodoroRecords& m_pomodoros;
};
