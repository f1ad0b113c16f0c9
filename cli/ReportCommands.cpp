#include "ReportCommands.h"

#include <QApplication>
#include <QCoreApplication>

#include "PdfReport.h"
#include "StoreAccess.h"
#include "TimeArgument.h"
#include "ValueArgument.h"
#include "reports/ReportEngine.h"
#include "store/DataController.h"
#include "store/ReportPeriod.h"

namespace {

// A day given on the command line stands for its middle, well inside the day's bounds
// whatever the clocks do that day.
constexpr double MiddleOfDay = 12 * 3600.0;

enum class Kind { Day, Workweek, Week, Month, Custom, Task };

std::optional<Kind> kindNamed(const QString& name)
{
    static const QList<std::pair<QString, Kind>> kinds = {
        {QStringLiteral("day"), Kind::Day},       {QStringLiteral("workweek"), Kind::Workweek},
        {QStringLiteral("week"), Kind::Week},     {QStringLiteral("month"), Kind::Month},
        {QStringLiteral("custom"), Kind::Custom}, {QStringLiteral("task"), Kind::Task}};
    for (const auto& [word, kind] : kinds) {
        if (word == name)
            return kind;
    }
    return std::nullopt;
}

int positionalsOf(Kind kind)
{
    switch (kind) {
    case Kind::Custom:
        return 3;
    case Kind::Task:
        return 2;
    default:
        return 1;
    }
}

std::optional<Date> dayArgument(const QString& label, const QString& text)
{
    QString error;
    const std::optional<Date> day = TimeArgument::day(text, error);
    if (!day)
        Terminal::printError(label + QStringLiteral(": ") + error);
    return day;
}

// The report's HTML, or nothing when the arguments are wrong (already said).
std::optional<QString> reportOf(Kind kind, const CommandArguments& arguments, ReportEngine* engine,
                                bool check)
{
    const QStringList& words = arguments.positionals();
    switch (kind) {
    case Kind::Custom: {
        const std::optional<Date> start = dayArgument(QStringLiteral("start day"), words.at(1));
        const std::optional<Date> end =
            start ? dayArgument(QStringLiteral("end day"), words.at(2)) : std::nullopt;
        if (!start || !end)
            return std::nullopt;
        if (*end < *start) {
            Terminal::printError(QStringLiteral("the end day comes before the start day"));
            return std::nullopt;
        }
        return check ? QString() : engine->reportCustom(ReportPeriod(*start, *end));
    }
    case Kind::Task: {
        QString error;
        const std::optional<QString> name = ValueArgument::taskName(words.at(1), error);
        if (!name) {
            Terminal::printError(QStringLiteral("task name: ") + error);
            return std::nullopt;
        }
        return check ? QString() : engine->report(*name);
    }
    default:
        break;
    }
    Date day = Date::now();
    if (const std::optional<QString> text = arguments.option(QStringLiteral("--date"))) {
        const std::optional<Date> given = dayArgument(QStringLiteral("--date"), *text);
        if (!given)
            return std::nullopt;
        day = given->addingTimeInterval(MiddleOfDay);
    }
    if (check)
        return QString();
    switch (kind) {
    case Kind::Day:
        return engine->report(day);
    case Kind::Workweek:
        return engine->reportForWorkweek(ReportPeriod(day.workweekAgo(), day));
    case Kind::Week:
        return engine->reportForWeek(ReportPeriod(day.weekAgo(), day));
    default:
        return engine->reportForMonth(ReportPeriod(day.monthAgo(), day));
    }
}

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

bool ReportCommands::wantsPdf(const QStringList& arguments)
{
    if (arguments.value(0) != QLatin1String("report"))
        return false;
    for (const QString& word : arguments) {
        if (word == QLatin1String("--"))
            return false;
        if (word == QLatin1String("--pdf") || word.startsWith(QLatin1String("--pdf=")))
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> ReportCommands::application(int& argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!wantsPdf(arguments))
        return std::make_unique<QCoreApplication>(argc, argv);
    // Printing needs no screen. Sharing OpenGL contexts is what the web engine asks for; it
    // costs a short-lived command nothing.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's and the web engine's own messages would bury the one line a failure prints.
    qInstallMessageHandler(&quiet);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return std::make_unique<QApplication>(argc, argv);
}

ExitStatus ReportCommands::run(const CommandArguments& arguments)
{
    const QStringList& words = arguments.positionals();
    const std::optional<Kind> kind = kindNamed(words.first());
    if (!kind) {
        Terminal::printError(QStringLiteral("report: unknown report \"%1\"").arg(words.first()));
        return ExitStatus::UsageError;
    }
    if (words.size() != positionalsOf(*kind)) {
        Terminal::printError(QStringLiteral("report: %1 takes %2 argument(s)")
                                 .arg(words.first())
                                 .arg(positionalsOf(*kind) - 1));
        return ExitStatus::UsageError;
    }
    if ((*kind == Kind::Custom || *kind == Kind::Task) &&
        arguments.option(QStringLiteral("--date"))) {
        Terminal::printError(QStringLiteral("report: --date is for day, workweek, week and month"));
        return ExitStatus::UsageError;
    }
    const std::optional<QString> pdf = arguments.option(QStringLiteral("--pdf"));
    if (pdf && pdf->isEmpty()) {
        Terminal::printError(QStringLiteral("--pdf: a file name must not be empty"));
        return ExitStatus::UsageError;
    }
    if (pdf && !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        Terminal::printError(QStringLiteral("--pdf: the program was started without graphics"));
        return ExitStatus::Failure;
    }
    // Every argument is checked before the store is opened.
    if (!reportOf(*kind, arguments, nullptr, true))
        return ExitStatus::UsageError;

    DataController store(DataController::defaultDataDirectory());
    if (!StoreAccess::open(store, DataController::OpenMode::ReadOnlyWhenUnwritable))
        return ExitStatus::Failure;
    ReportEngine engine(store);
    const std::optional<QString> html = reportOf(*kind, arguments, &engine, false);
    if (!html)
        return ExitStatus::UsageError;
    if (!pdf) {
        Terminal::printText(*html);
        return ExitStatus::Success;
    }
    QString error;
    if (!PdfReport::write(*html, *pdf, error)) {
        Terminal::printError(error);
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}
