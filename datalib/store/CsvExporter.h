#pragma once

#include <optional>

#include <QString>

#include "store/Date.h"

class PomodoroRecords;

// Writes one day's pomodoros as CSV, for the user to keep or open elsewhere.
class CsvExporter {
public:
    explicit CsvExporter(PomodoroRecords& pomodoros);

    bool exportToCSV(const QString& toCSV, Date activitiyOfDay);
    // The file's text; absent when the day query fails.
    std::optional<QString> text(Date activitiyOfDay);

    // Quotes a field only when it holds a separator, a quote or a line break.
    static QString field(const QString& text);

private:
    // A device, a pipe or a terminal is written as it is: renaming a file over it would
    // replace the device's name, not feed it.
    static bool isReplaceable(const QString& path);

    PomodoroRecords& m_pomodoros;
};
