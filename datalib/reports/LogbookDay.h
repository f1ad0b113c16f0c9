#pragma once

#include <optional>

#include <QList>

#include "reports/LogbookRow.h"
#include "store/Date.h"
#include "store/Goal.h"
#include "store/Pomodoro.h"
#include "store/Session.h"
#include "tallycore_export.h"

class DataController;

// The rows of one day of the logbook: the task intervals with the running totals of their
// task, the sessions and the goal, newest first, and the row that says when the day began.
// Built from plain values, so it can be made on any thread.
class TALLYCORE_EXPORT LogbookDay {
public:
    static constexpr const char* undefinedTaskName = "Undefined task";

    struct Records {
        // In the order the store answers them; the running totals follow this order.
        QList<Pomodoro> pomodoros;
        QList<Session> sessions;
        std::optional<Goal> goal;
    };

    // The day's records; a query that fails reads as nothing recorded.
    static Records read(DataController& store, Date day);

    LogbookDay() = default;
    explicit LogbookDay(const Records& records);

    const QList<LogbookRow>& rows() const { return m_rows; }
    // The report and the export have something to show.
    bool hasPomodoros() const { return m_hasPomodoros; }

private:
    QList<LogbookRow> m_rows;
    bool m_hasPomodoros = false;
};
