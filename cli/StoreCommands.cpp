#include "StoreCommands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "RecordJson.h"
#include "StoreAccess.h"
#include "Terminal.h"
#include "TimeArgument.h"
#include "ValueArgument.h"
#include "store/DataController.h"

namespace {

constexpr std::int32_t defaultBreakSeconds = 300;

// Prints the error under the option's name when the value is refused.
template <typename T, typename Parser>
std::optional<T> parsed(const QString& label, const QString& text, Parser parser)
{
    QString error;
    std::optional<T> value = parser(text, error);
    if (!value)
        Terminal::printError(label + QStringLiteral(": ") + error);
    return value;
}

std::optional<Date> instantOption(const CommandArguments& arguments, const QString& name)
{
    return parsed<Date>(name, *arguments.option(name), &TimeArgument::instant);
}

std::optional<std::int32_t> countOption(const CommandArguments& arguments, const QString& name)
{
    return parsed<std::int32_t>(name, *arguments.option(name), &ValueArgument::count);
}

std::optional<QString> nameArgument(const QString& text)
{
    return parsed<QString>(QStringLiteral("task name"), text, &ValueArgument::taskName);
}

QString dayOf(Date date)
{
    return date.toDateTime().date().toString(Qt::ISODate);
}

} // namespace

StoreCommands::StoreCommands(DataController& store, DataController::OpenMode mode)
    : m_store(store)
    , m_mode(mode)
{}

bool StoreCommands::opened()
{
    if (!StoreAccess::open(m_store, m_mode))
        return false;
    if (m_store.isReadOnly())
        Terminal::printError(
            QStringLiteral("the store cannot be written here; it is only read, and nothing is "
                           "written"));
    return true;
}

bool StoreCommands::failed(const QString& what)
{
    return StoreAccess::failed(m_store, what);
}

std::optional<bool> StoreCommands::taskExists(const QString& name)
{
    const bool exists = m_store.existsTaskInfo(name);
    if (failed(QStringLiteral("the store could not look the task up")))
        return std::nullopt;
    return exists;
}

bool StoreCommands::taskPresence(const QString& name, bool wanted)
{
    const std::optional<bool> exists = taskExists(name);
    if (!exists)
        return false;
    if (*exists == wanted)
        return true;
    Terminal::printError(wanted ? QStringLiteral("no task named \"%1\"").arg(name)
                                : QStringLiteral("a task named \"%1\" already exists").arg(name));
    return false;
}

ExitStatus StoreCommands::addPomodoro(const CommandArguments& arguments)
{
    const std::optional<Date> start = instantOption(arguments, QStringLiteral("--start"));
    if (!start)
        return ExitStatus::UsageError;
    const std::optional<std::int32_t> duration = parsed<std::int32_t>(
        QStringLiteral("--duration"), *arguments.option(QStringLiteral("--duration")),
        &ValueArgument::taskDuration);
    if (!duration)
        return ExitStatus::UsageError;
    std::int32_t freeTime = defaultBreakSeconds;
    if (const auto text = arguments.option(QStringLiteral("--break"))) {
        const auto value =
            parsed<std::int32_t>(QStringLiteral("--break"), *text, &ValueArgument::seconds);
        if (!value)
            return ExitStatus::UsageError;
        freeTime = *value;
    }
    std::optional<QString> taskName;
    if (const auto text = arguments.option(QStringLiteral("--task"))) {
        taskName = nameArgument(*text);
        if (!taskName)
            return ExitStatus::UsageError;
    }

    TaskParameter parameter;
    parameter.startTime = start->timeIntervalSinceReferenceDate();
    parameter.endTime = start->timeIntervalSinceReferenceDate() + *duration;
    parameter.duration = *duration;
    parameter.freeTimeDuration = freeTime;
    parameter.taskName = taskName;
    if (!opened())
        return ExitStatus::Failure;
    std::optional<bool> catalogued = true;
    if (taskName) {
        catalogued = taskExists(*taskName);
        if (!catalogued)
            return ExitStatus::Failure;
    }
    m_store.addTask(parameter);
    if (failed(QStringLiteral("the pomodoro was not stored")))
        return ExitStatus::Failure;
    // The store records an unknown name as a generic task; say so rather than refuse.
    if (!*catalogued)
        Terminal::printError(QStringLiteral("no task named \"%1\" in the catalogue; "
                                            "recorded as a generic task")
                                 .arg(*taskName));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::addTaskInfo(const CommandArguments& arguments)
{
    const std::optional<QString> name = nameArgument(arguments.positionals().at(0));
    if (!name)
        return ExitStatus::UsageError;
    const std::optional<QString> color =
        parsed<QString>(QStringLiteral("--color"), *arguments.option(QStringLiteral("--color")),
                        &ValueArgument::color);
    if (!color)
        return ExitStatus::UsageError;

    if (!opened())
        return ExitStatus::Failure;
    const QString taken = QStringLiteral("a task named \"%1\" already exists").arg(*name);
    // The store ignores a second task of the same name without a word.
    if (!taskPresence(*name, false))
        return ExitStatus::Failure;
    TaskInfoParameter parameter(*name, *color);
    parameter.taskDescription = arguments.option(QStringLiteral("--description"));
    m_store.addTaskInfo(parameter);
    if (failed(QStringLiteral("the task was not stored")))
        return ExitStatus::Failure;
    // Another process may have stored the name in between; the store then kept that task.
    const std::optional<TaskInfo> stored = m_store.fetchTaskInfo(*name);
    if (failed(QStringLiteral("the store could not read the task back")))
        return ExitStatus::Failure;
    if (!stored || stored->createdAt != parameter.createdAt.timeIntervalSinceReferenceDate() ||
        stored->color != parameter.color) {
        Terminal::printError(taken);
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

ExitStatus StoreCommands::renameTaskInfo(const CommandArguments& arguments)
{
    const std::optional<QString> oldName = nameArgument(arguments.positionals().at(0));
    if (!oldName)
        return ExitStatus::UsageError;
    const std::optional<QString> newName = nameArgument(arguments.positionals().at(1));
    if (!newName)
        return ExitStatus::UsageError;

    if (!opened())
        return ExitStatus::Failure;
    if (!taskPresence(*oldName, true))
        return ExitStatus::Failure;
    // Two tasks of one name could no longer be told apart.
    if (*newName != *oldName && !taskPresence(*newName, false))
        return ExitStatus::Failure;
    m_store.updateTaskInfo(*oldName, *newName);
    return failed(QStringLiteral("the task was not renamed")) ? ExitStatus::Failure
                                                              : ExitStatus::Success;
}

ExitStatus StoreCommands::deleteTaskInfo(const CommandArguments& arguments)
{
    const std::optional<QString> name = nameArgument(arguments.positionals().at(0));
    if (!name)
        return ExitStatus::UsageError;
    if (!opened())
        return ExitStatus::Failure;
    if (!taskPresence(*name, true))
        return ExitStatus::Failure;
    m_store.deleteTaskInfo(*name);
    return failed(QStringLiteral("the task was not deleted")) ? ExitStatus::Failure
                                                              : ExitStatus::Success;
}

ExitStatus StoreCommands::addSession(const CommandArguments& arguments)
{
    return addCounted(arguments, QStringLiteral("the session was not stored"),
                      [this](double at, int count) { m_store.addSession(at, count); });
}

ExitStatus StoreCommands::addGoal(const CommandArguments& arguments)
{
    return addCounted(arguments, QStringLiteral("the goal was not stored"),
                      [this](double at, int count) { m_store.addGoal(at, count); });
}

ExitStatus StoreCommands::addCounted(const CommandArguments& arguments, const QString& what,
                                     const std::function<void(double at, int count)>& add)
{
    const std::optional<Date> at = instantOption(arguments, QStringLiteral("--at"));
    if (!at)
        return ExitStatus::UsageError;
    const std::optional<std::int32_t> count = countOption(arguments, QStringLiteral("--tasks"));
    if (!count)
        return ExitStatus::UsageError;
    if (!opened())
        return ExitStatus::Failure;
    add(at->timeIntervalSinceReferenceDate(), *count);
    return failed(what) ? ExitStatus::Failure : ExitStatus::Success;
}

ExitStatus StoreCommands::day(const CommandArguments& arguments)
{
    Date date = Date::now();
    if (!arguments.positionals().isEmpty()) {
        const std::optional<Date> given =
            parsed<Date>(QStringLiteral("day"), arguments.positionals().at(0), &TimeArgument::day);
        if (!given)
            return ExitStatus::UsageError;
        date = *given;
    }

    if (!opened())
        return ExitStatus::Failure;
    const QString refused = QStringLiteral("the store could not answer for that day");
    const std::optional<QList<Pomodoro>> pomodoros = m_store.pomodorosForDate(date);
    if (failed(refused))
        return ExitStatus::Failure;
    const std::optional<QList<Session>> sessions = m_store.sessionsForDate(date);
    if (failed(refused))
        return ExitStatus::Failure;
    const std::optional<Goal> goal = m_store.goalForDate(date);
    if (failed(refused))
        return ExitStatus::Failure;
    if (!pomodoros || !sessions) {
        Terminal::printError(refused);
        return ExitStatus::Failure;
    }
    Terminal::printJson(QJsonDocument(RecordJson::day(*pomodoros, *sessions, goal)));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::exportCsv(const CommandArguments& arguments)
{
    const std::optional<Date> date =
        parsed<Date>(QStringLiteral("day"), arguments.positionals().at(0), &TimeArgument::day);
    if (!date)
        return ExitStatus::UsageError;
    const QString file = arguments.positionals().at(1);
    if (file.isEmpty()) {
        Terminal::printError(QStringLiteral("file: a file name must not be empty"));
        return ExitStatus::UsageError;
    }

    if (!opened())
        return ExitStatus::Failure;
    if (file == QLatin1String("-")) {
        const std::optional<QString> text = m_store.csvText(*date);
        if (failed(QStringLiteral("the store could not answer for that day")) || !text)
            return ExitStatus::Failure;
        Terminal::printText(*text);
        return ExitStatus::Success;
    }
    const bool exported = m_store.exportToCSV(QFileInfo(file).absoluteFilePath(), *date);
    if (failed(QStringLiteral("the store could not answer for that day")))
        return ExitStatus::Failure;
    if (!exported) {
        Terminal::printError(QStringLiteral("could not export to %1").arg(file));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

ExitStatus StoreCommands::today(const CommandArguments&)
{
    const std::optional<QVariantMap> data = m_store.extensionData();
    if (!data) {
        Terminal::printError(QStringLiteral("no summary of today: nothing recorded today yet"));
        return ExitStatus::Failure;
    }
    // Only a save rewrites the summary, so on a day without one it still tells of another.
    const Date written(data->value(QStringLiteral("ExtensionDate")).toDouble());
    const Date now = Date::now();
    if (written.beginningOfDay() != now.beginningOfDay()) {
        Terminal::printError(QStringLiteral("no summary of today: the summary is of %1 and "
                                            "nothing has been recorded today (%2) yet")
                                 .arg(dayOf(written), dayOf(now)));
        return ExitStatus::Failure;
    }
    Terminal::printJson(QJsonDocument(RecordJson::extensionData(*data)));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::tasks(const CommandArguments&)
{
    if (!opened())
        return ExitStatus::Failure;
    const QString refused = QStringLiteral("the store could not list the tasks");
    const std::optional<QStringList> names = m_store.taskNames();
    if (failed(refused))
        return ExitStatus::Failure;
    if (!names) {
        Terminal::printError(refused);
        return ExitStatus::Failure;
    }
    QJsonArray list;
    for (const QString& name : *names) {
        const QString color = m_store.color(name);
        if (failed(refused))
            return ExitStatus::Failure;
        const std::optional<TaskInfo> info = m_store.fetchTaskInfo(name);
        if (failed(refused))
            return ExitStatus::Failure;
        const int executions = m_store.executions(name);
        if (failed(refused))
            return ExitStatus::Failure;
        const int timeDedicated = m_store.timeDedicated(name);
        if (failed(refused))
            return ExitStatus::Failure;
        list.append(RecordJson::task(name, color, info, executions, timeDedicated));
    }
    Terminal::printJson(QJsonDocument(list));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::stats(const CommandArguments&)
{
    if (!opened())
        return ExitStatus::Failure;
    const DataController::Stats stats = m_store.stats();
    if (failed(QStringLiteral("the store could not count its records")))
        return ExitStatus::Failure;
    Terminal::printJson(QJsonDocument(RecordJson::stats(stats)));
    return ExitStatus::Success;
}
