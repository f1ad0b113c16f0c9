#include "LogbookCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include "StoreAccess.h"
#include "Terminal.h"
#include "store/DataController.h"

namespace {

QString kindName(LogbookRow::Kind kind)
{
    switch (kind) {
    case LogbookRow::Kind::Task:
        return QStringLiteral("task");
    case LogbookRow::Kind::Session:
        return QStringLiteral("session");
    case LogbookRow::Kind::Goal:
        return QStringLiteral("goal");
    case LogbookRow::Kind::Start:
        return QStringLiteral("start");
    case LogbookRow::Kind::Empty:
        break;
    }
    return QStringLiteral("empty");
}

QJsonValue when(bool applies, const QJsonValue& value)
{
    return applies ? value : QJsonValue(QJsonValue::Null);
}

QJsonObject rowJson(const LogbookRow& row)
{
    using Kind = LogbookRow::Kind;
    const bool task = row.kind == Kind::Task;
    std::optional<double> moment = row.order;
    if (row.kind == Kind::Start)
        moment = row.startTime;
    return QJsonObject{
        {QStringLiteral("kind"), kindName(row.kind)},
        {QStringLiteral("moment"), moment ? QJsonValue(*moment) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("localTime"),
         when(moment.has_value(),
              moment ? Date(*moment).toDateTime().toString(Qt::ISODate) : QString())},
        {QStringLiteral("task"), when(task, row.taskName)},
        {QStringLiteral("iterations"), when(task, row.iterations)},
        {QStringLiteral("totalTime"), when(task, row.totalTime)},
        {QStringLiteral("tasksCount"), when(row.kind == Kind::Session, row.tasksCount)},
        {QStringLiteral("goal"), when(row.kind == Kind::Goal, row.goal)},
    };
}

} // namespace

QJsonObject LogbookCommands::json(Date day, const LogbookDay& logbook)
{
    QJsonArray rows;
    for (const LogbookRow& row : logbook.rows())
        rows.append(rowJson(row));
    return QJsonObject{
        {QStringLiteral("day"), day.toDateTime().date().toString(Qt::ISODate)},
        {QStringLiteral("hasPomodoros"), logbook.hasPomodoros()},
        {QStringLiteral("rows"), rows},
    };
}

ExitStatus LogbookCommands::logbook(const CommandArguments& arguments)
{
    DataController store(DataController::defaultDataDirectory());
    return show(store, arguments);
}

ExitStatus LogbookCommands::show(DataController& store, const CommandArguments& arguments)
{
    const std::optional<Date> day = StoreAccess::dayOrToday(arguments);
    if (!day)
        return ExitStatus::UsageError;
    const Date date = *day;

    if (!StoreAccess::open(store, DataController::OpenMode::ReadOnlyWhenUnwritable))
        return ExitStatus::Failure;
    // The window reads a failed query as an empty day; here it is said and ends badly.
    const auto refused = [&store] {
        const std::optional<QString> error = store.lastError();
        if (error)
            Terminal::printError(QStringLiteral("the store could not answer for that day: ") +
                                 *error);
        return error.has_value();
    };
    LogbookDay::Records records;
    const std::optional<QList<Pomodoro>> pomodoros = store.pomodorosForDate(date);
    if (refused() || !pomodoros)
        return ExitStatus::Failure;
    const std::optional<QList<Session>> sessions = store.sessionsForDate(date);
    if (refused() || !sessions)
        return ExitStatus::Failure;
    records.goal = store.goalForDate(date);
    if (refused())
        return ExitStatus::Failure;
    records.pomodoros = *pomodoros;
    records.sessions = *sessions;
    Terminal::printJson(QJsonDocument(json(date, LogbookDay(records))));
    return ExitStatus::Success;
}
