#include "StoreCommands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "RecordJson.h"
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

} // namespace

StoreCommands::StoreCommands(DataController& store)
    : m_store(store)
{}

ExitStatus StoreCommands::addPomodoro(const CommandArguments& arguments)
{
    const std::optional<Date> start = instantOption(arguments, QStringLiteral("--start"));
    if (!start)
        return ExitStatus::UsageError;
    const std::optional<std::int32_t> duration = parsed<std::int32_t>(
        QStringLiteral("--duration"), *arguments.option(QStringLiteral("--duration")),
        &ValueArgument::seconds);
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
    // The store records an unknown name as a generic task; say so rather than refuse.
    if (taskName && !m_store.existsTaskInfo(*taskName))
        Terminal::printError(QStringLiteral("no task named \"%1\" in the catalogue; "
                                            "recorded as a generic task")
                                 .arg(*taskName));
    m_store.addTask(parameter);
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

    // The store ignores a second task of the same name without a word.
    if (m_store.existsTaskInfo(*name)) {
        Terminal::printError(QStringLiteral("a task named \"%1\" already exists").arg(*name));
        return ExitStatus::Failure;
    }
    TaskInfoParameter parameter(*name, *color);
    parameter.taskDescription = arguments.option(QStringLiteral("--description"));
    m_store.addTaskInfo(parameter);
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

    if (!m_store.existsTaskInfo(*oldName)) {
        Terminal::printError(QStringLiteral("no task named \"%1\"").arg(*oldName));
        return ExitStatus::Failure;
    }
    // Two tasks of one name could no longer be told apart.
    if (*newName != *oldName && m_store.existsTaskInfo(*newName)) {
        Terminal::printError(QStringLiteral("a task named \"%1\" already exists").arg(*newName));
        return ExitStatus::Failure;
    }
    m_store.updateTaskInfo(*oldName, *newName);
    return ExitStatus::Success;
}

ExitStatus StoreCommands::deleteTaskInfo(const CommandArguments& arguments)
{
    const std::optional<QString> name = nameArgument(arguments.positionals().at(0));
    if (!name)
        return ExitStatus::UsageError;
    if (!m_store.existsTaskInfo(*name)) {
        Terminal::printError(QStringLiteral("no task named \"%1\"").arg(*name));
        return ExitStatus::Failure;
    }
    m_store.deleteTaskInfo(*name);
    return ExitStatus::Success;
}

ExitStatus StoreCommands::addSession(const CommandArguments& arguments)
{
    return addCounted(arguments, [this](double at, int count) { m_store.addSession(at, count); });
}

ExitStatus StoreCommands::addGoal(const CommandArguments& arguments)
{
    return addCounted(arguments, [this](double at, int count) { m_store.addGoal(at, count); });
}

ExitStatus StoreCommands::addCounted(const CommandArguments& arguments,
                                     const std::function<void(double at, int count)>& add)
{
    const std::optional<Date> at = instantOption(arguments, QStringLiteral("--at"));
    if (!at)
        return ExitStatus::UsageError;
    const std::optional<std::int32_t> count = countOption(arguments, QStringLiteral("--tasks"));
    if (!count)
        return ExitStatus::UsageError;
    add(at->timeIntervalSinceReferenceDate(), *count);
    return ExitStatus::Success;
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

    const std::optional<QList<Pomodoro>> pomodoros = m_store.pomodorosForDate(date);
    const std::optional<QList<Session>> sessions = m_store.sessionsForDate(date);
    if (!pomodoros || !sessions) {
        Terminal::printError(QStringLiteral("the store could not answer for that day"));
        return ExitStatus::Failure;
    }
    Terminal::printJson(
        QJsonDocument(RecordJson::day(*pomodoros, *sessions, m_store.goalForDate(date))));
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

    if (!m_store.exportToCSV(QFileInfo(file).absoluteFilePath(), *date)) {
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
    Terminal::printJson(QJsonDocument(RecordJson::extensionData(*data)));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::tasks(const CommandArguments&)
{
    const std::optional<QStringList> names = m_store.taskNames();
    if (!names) {
        Terminal::printError(QStringLiteral("the store could not list the tasks"));
        return ExitStatus::Failure;
    }
    QJsonArray list;
    for (const QString& name : *names) {
        list.append(RecordJson::task(name, m_store.color(name), m_store.fetchTaskInfo(name),
                                     m_store.executions(name), m_store.timeDedicated(name)));
    }
    Terminal::printJson(QJsonDocument(list));
    return ExitStatus::Success;
}

ExitStatus StoreCommands::stats(const CommandArguments&)
{
    Terminal::printJson(QJsonDocument(RecordJson::stats(m_store.stats())));
    return ExitStatus::Success;
}
