#include "reports/LogbookDay.h"

#include <algorithm>

#include "store/DataController.h"
#include "store/PomodoroList.h"

namespace {

LogbookRow taskRow(const QList<Pomodoro>& pomodoros, int index)
{
    const Pomodoro& pomodoro = pomodoros.at(index);
    LogbookRow row;
    row.kind = LogbookRow::Kind::Task;
    row.height = LogbookRow::rowHeight;
    row.order = pomodoro.startTime;
    row.taskName = QString::fromLatin1(LogbookDay::undefinedTaskName);
    if (!pomodoro.hasTaskInfo || !pomodoro.taskInfoName)
        return row;
    const QString& name = *pomodoro.taskInfoName;
    const std::optional<int> count = PomodoroList::countForTask(pomodoros, name, 0, index + 1);
    const std::optional<int> duration =
        PomodoroList::durationForTask(pomodoros, name, 0, index + 1);
    if (!count || !duration)
        return row;
    row.taskName = name;
    row.iterations = *count;
    row.totalTime = *duration;
    return row;
}

} // namespace

LogbookDay::Records LogbookDay::read(DataController& store, Date day)
{
    Records records;
    records.pomodoros = store.pomodorosForDate(day).value_or(QList<Pomodoro>{});
    records.sessions = store.sessionsForDate(day).value_or(QList<Session>{});
    records.goal = store.goalForDate(day);
    return records;
}

LogbookDay::LogbookDay(const Records& records)
{
    for (int i = 0; i < records.pomodoros.size(); ++i)
        m_rows.append(taskRow(records.pomodoros, i));
    m_hasPomodoros = !m_rows.isEmpty();

    if (records.goal) {
        LogbookRow row;
        row.kind = LogbookRow::Kind::Goal;
        row.height = LogbookRow::rowHeight;
        row.goal = records.goal->tasksCount;
        row.order = records.goal->achieveAt;
        m_rows.append(row);
    }
    for (const Session& session : records.sessions) {
        LogbookRow row;
        row.kind = LogbookRow::Kind::Session;
        row.height = LogbookRow::rowHeight;
        row.tasksCount = session.tasksCount;
        row.order = session.finishedAt;
        m_rows.append(row);
    }

    if (m_rows.isEmpty()) {
        m_rows.append(LogbookRow{});
        return;
    }
    // Newest first; rows of one instant keep the order they were added in.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const LogbookRow& a, const LogbookRow& b) { return *a.order > *b.order; });
    // The start row tells when the day's work began: the earliest row, now the last.
    LogbookRow start;
    start.kind = LogbookRow::Kind::Start;
    start.height = LogbookRow::rowHeight;
    start.startTime = *m_rows.constLast().order;
    m_rows.append(start);
}
