#include "CommandTable.h"

#include <optional>

#include "CloudCommands.h"
#include "CloudWrites.h"
#include "LogbookCommands.h"
#include "ReportCommands.h"
#include "ScanCommands.h"
#include "SettingsCommands.h"
#include "SyncCommand.h"
#include "ThiefCommands.h"
#include "TimerCommands.h"
#include "store/DataController.h"

namespace {

bool asksForHelp(const QStringList& words)
{
    for (const QString& word : words) {
        if (word == QLatin1String("--"))
            return false;
        if (word == QLatin1String("--help") || word == QLatin1String("-h"))
            return true;
    }
    return false;
}

} // namespace

CommandTable::CommandTable()
{
    using Shape = CommandArguments::Shape;
    const auto s = [](const char* text) { return QString::fromLatin1(text); };
    m_commands = {
        {s("add-pomodoro"),
         s("--start <time> --duration <seconds> [--break <seconds>] [--task <name>]"),
         Shape{0, 0, {s("--start"), s("--duration")}, {s("--break"), s("--task")}},
         &StoreCommands::addPomodoro},
        {s("add-session"), s("--at <time> --tasks <count>"),
         Shape{0, 0, {s("--at"), s("--tasks")}, {}}, &StoreCommands::addSession},
        {s("add-goal"), s("--at <time> --tasks <count>"),
         Shape{0, 0, {s("--at"), s("--tasks")}, {}}, &StoreCommands::addGoal},
        {s("add-task-info"), s("<name> --color <#rrggbb> [--description <text>]"),
         Shape{1, 0, {s("--color")}, {s("--description")}}, &StoreCommands::addTaskInfo},
        {s("rename-task-info"), s("<old-name> <new-name>"), Shape{2, 0, {}, {}},
         &StoreCommands::renameTaskInfo},
        {s("delete-task-info"), s("<name>"), Shape{1, 0, {}, {}}, &StoreCommands::deleteTaskInfo},
        {s("tasks"), QString(), Shape{}, &StoreCommands::tasks, nullptr, StoreUse::Reads},
        {s("day"), s("[<day>]"), Shape{0, 1, {}, {}}, &StoreCommands::day, nullptr,
         StoreUse::Reads},
        {s("today"), QString(), Shape{}, &StoreCommands::today, nullptr, StoreUse::SummaryOnly},
        {s("logbook"), s("[<day>]"), Shape{0, 1, {}, {}}, nullptr, &LogbookCommands::logbook},
        {s("stats"), QString(), Shape{}, &StoreCommands::stats, nullptr, StoreUse::Reads},
        {s("thieves"),
         s("[list] | add-app <desktop-id> | add-site <domain> | activate <id> | "
           "deactivate <id>"),
         Shape{0, 2, {}, {}}, nullptr, &ThiefCommands::thieves},
        {s("activities"), s("[<day>]"), Shape{0, 1, {}, {}}, nullptr, &ThiefCommands::activities},
        {s("scan"), s("--once | --seconds <N>"), Shape{0, 0, {}, {s("--seconds")}, {s("--once")}},
         nullptr, &ScanCommands::scan},
        {s("export-csv"), s("<day> <file | ->"), Shape{2, 0, {}, {}}, &StoreCommands::exportCsv,
         nullptr, StoreUse::Reads},
        {s("report"),
         s("day|workweek|week|month [--date <day>] | custom <start-day> <end-day> | "
           "task <name>  [--pdf <file>]"),
         Shape{1, 2, {}, {s("--date"), s("--pdf")}}, nullptr, &ReportCommands::run},
        {s("settings"), s("list | get <key> | set <key> <value>"), Shape{1, 2, {}, {}}, nullptr,
         &SettingsCommands::runWithApplicationDefaults},
        {s("timer"), s("status | watch | toggle | reset | skip | show | continue"),
         Shape{1, 0, {}, {}}, nullptr, &TimerCommands::runOnSessionBus},
        {s("sync"), QString(), Shape{}, nullptr, &SyncCommand::sync},
        {s("cloud"),
         s("init --admin <uri> | add-user <name> --admin <uri> [--quota-mb <N>] | connect <uri> "
           "| status"),
         Shape{1, 1, {}, {s("--admin"), s("--quota-mb")}}, nullptr, &CloudCommands::cloud},
    };
}

ExitStatus CommandTable::run(const QStringList& arguments) const
{
    if (arguments.isEmpty()) {
        Terminal::printError(QStringLiteral("no command given"));
        Terminal::printDiagnostic(usage());
        return ExitStatus::UsageError;
    }
    const QString& name = arguments.first();
    if (name == QLatin1String("help") || name == QLatin1String("--help") ||
        name == QLatin1String("-h"))
        return help(arguments.mid(1));

    const Command* command = find(name);
    if (!command) {
        Terminal::printError(
            QStringLiteral("unknown command \"%1\"; see zestra-cli --help").arg(name));
        return ExitStatus::UsageError;
    }
    const QStringList words = arguments.mid(1);
    if (asksForHelp(words)) {
        Terminal::printText(commandUsage(*command) + QLatin1Char('\n'));
        return ExitStatus::Success;
    }
    QString error;
    const std::optional<CommandArguments> parsed =
        CommandArguments::parse(words, command->shape, error);
    if (!parsed) {
        Terminal::printError(command->name + QStringLiteral(": ") + error);
        Terminal::printDiagnostic(commandUsage(*command));
        return ExitStatus::UsageError;
    }
    if (command->storeless)
        return command->storeless(*parsed);
    return runOnStore(*command, *parsed);
}

ExitStatus CommandTable::runOnStore(const Command& command, const CommandArguments& arguments)
{
    DataController store(DataController::defaultDataDirectory());
    StoreCommands commands(store, command.use == StoreUse::Reads
                                      ? DataController::OpenMode::ReadOnlyWhenUnwritable
                                      : DataController::OpenMode::ReadWrite);
    // Gone before the store: it waits for the writes' cloud half.
    std::optional<CloudWrites> cloud;
    if (command.use == StoreUse::Writes)
        cloud.emplace(store);
    return (commands.*(command.handler))(arguments);
}

QString CommandTable::usage() const
{
    QString text = QStringLiteral("Usage: zestra-cli <command> [arguments]\n\nCommands:\n");
    for (const Command& command : m_commands)
        text += QStringLiteral("  ") + command.name +
                (command.synopsis.isEmpty() ? QString() : QLatin1Char(' ') + command.synopsis) +
                QLatin1Char('\n');
    text += QStringLiteral(
        "  help [<command>]\n"
        "\n"
        "A <time> is an ISO 8601 local time such as 2026-03-29T09:30:00 (seconds and their\n"
        "fraction are optional; a trailing Z or an offset like +02:00 makes it absolute).\n"
        "A local time the clocks skip is refused; one they pass twice is the first.\n"
        "A <day> is YYYY-MM-DD; day and logbook show today without one. A pomodoro lasts more\n"
        "than 0 seconds and at most 24 hours; its break is 300 seconds unless --break is\n"
        "given. export-csv writes to standard output when the file is -. report writes the\n"
        "page's HTML, or with --pdf prints it to a landscape PDF file. Task names lose\n"
        "their surrounding blanks; an empty name or one with control characters is refused.\n"
        "\n"
        "thieves add-app takes the id of an installed desktop entry (its file name without\n"
        ".desktop, looked up in $XDG_DATA_HOME/applications and $XDG_DATA_DIRS); add-site\n"
        "takes a host name, kept in lower case without a leading www. activities lists the\n"
        "stretches recorded on a day (today without one); thief says whether the id is an\n"
        "active thief. scan --once prints what is in front now; scan --seconds N records\n"
        "for N seconds (0 to 3600) as the application does and lists what it stored.\n"
        "\n"
        "settings set takes true or false (also yes/no, 1/0) for a flag, a whole number for\n"
        "a number (one that begins with a dash after --) and any text for a string.\n"
        "\n"
        "sync does what the application does with the cloud at its start: it uploads the\n"
        "local history when it has not all gone up, replays the writes that waited for the\n"
        "network and fetches the changes of the other computers; it exits 1 when anything\n"
        "is left waiting. With a cloud database connected, every command that writes waits\n"
        "until its writes have reached the cloud or been queued for a later sync.\n"
        "\n"
        "cloud init creates or upgrades the cloud schema in the database that the\n"
        "administrator's PostgreSQL URI names; cloud add-user creates a user (quota 1024 MB\n"
        "unless given) and prints the URI the application connects with, password included.\n"
        "cloud connect makes that URI this user's cloud database: the URI goes to the\n"
        "settings without its password, the password to the desktop keyring (or, with no\n"
        "keyring, to libpq's password file). cloud status prints the account, its zones,\n"
        "the operations waiting for the network and the last change fetched, as JSON.\n"
        "\n"
        "Listings are JSON on standard output; moments in them are seconds since\n"
        "2001-01-01T00:00:00Z. Messages go to standard error. The records live in\n"
        "$XDG_DATA_HOME/Zestra, the settings in $XDG_CONFIG_HOME/Zestra/Zestra.conf; TZ sets\n"
        "the time zone of local times and days.\n"
        "\n"
        "Exit status: 0 done; 1 when the store refused or could not store it, cannot be\n"
        "read, or has nothing to show; 2 for wrong usage.\n");
    return text;
}

const CommandTable::Command* CommandTable::find(const QString& name) const
{
    for (const Command& command : m_commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

ExitStatus CommandTable::help(const QStringList& topics) const
{
    if (topics.isEmpty()) {
        Terminal::printText(usage());
        return ExitStatus::Success;
    }
    const Command* command = topics.size() == 1 ? find(topics.first()) : nullptr;
    if (!command) {
        Terminal::printError(QStringLiteral("help: no command \"%1\"").arg(topics.join(u' ')));
        return ExitStatus::UsageError;
    }
    Terminal::printText(commandUsage(*command) + QLatin1Char('\n'));
    return ExitStatus::Success;
}

QString CommandTable::commandUsage(const Command& command) const
{
    QString text = QStringLiteral("usage: zestra-cli ") + command.name;
    if (!command.synopsis.isEmpty())
        text += QLatin1Char(' ') + command.synopsis;
    return text;
}
