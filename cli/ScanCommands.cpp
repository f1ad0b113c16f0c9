#include "ScanCommands.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include "StoreAccess.h"
#include "dispatch/Clock.h"
#include "store/DataController.h"
#include "thieves/ActivityScanner.h"
#include "thieves/BrowserScripts.h"
#include "thieves/FrontmostItemReader.h"
#include "thieves/FrontmostSource.h"
#include "thieves/ThiefKind.h"

namespace {

// An hour is plenty for a look at the scanner; the application runs it for good.
constexpr int longestRun = 3600;

const QString blind = QStringLiteral(
    "this desktop does not let Zestra see the frontmost application (no X11 display answers)");

QJsonValue textOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

ExitStatus ScanCommands::scan(const CommandArguments& arguments)
{
    DataController store(DataController::defaultDataDirectory());
    return scan(store, arguments);
}

ExitStatus ScanCommands::scan(DataController& store, const CommandArguments& arguments)
{
    const bool once = arguments.option(QStringLiteral("--once")).has_value();
    const std::optional<QString> seconds = arguments.option(QStringLiteral("--seconds"));
    if (once == seconds.has_value()) {
        Terminal::printError(QStringLiteral("scan: give either --once or --seconds <N>"));
        return ExitStatus::UsageError;
    }
    if (once)
        return ScanCommands::once(store);
    bool isNumber = false;
    const int count = seconds->toInt(&isNumber);
    if (!isNumber || count < 0 || count > longestRun) {
        Terminal::printError(
            QStringLiteral("scan: --seconds takes a whole number from 0 to %1, not \"%2\"")
                .arg(longestRun)
                .arg(*seconds));
        return ExitStatus::UsageError;
    }
    return run(store, count);
}

QStringList ScanCommands::browsers(DataController& store)
{
    QStringList ids;
    for (const Thief& thief : store.activeThieves().value_or(QList<Thief>())) {
        if (thief.kind == QLatin1String(ThiefKind::browser) && thief.identifier)
            ids.append(*thief.identifier);
    }
    return ids;
}

ExitStatus ScanCommands::once(DataController& store)
{
    if (!StoreAccess::open(store, DataController::OpenMode::ReadOnlyWhenUnwritable))
        return ExitStatus::Failure;
    const std::unique_ptr<FrontmostSource> source = FrontmostSource::forSession();
    if (!source->canSee()) {
        Terminal::printError(blind);
        return ExitStatus::Failure;
    }
    BrowserScripts scripts;
    FrontmostItemReader reader(*source, scripts, browsers(store));
    QString error;
    const std::optional<FrontmostItem> item = reader.read(error);
    if (!error.isEmpty()) {
        Terminal::printError(QStringLiteral("browser script: ") + error);
        return ExitStatus::Failure;
    }
    if (!item) {
        // No window in front, or a page without a host.
        Terminal::printText(QStringLiteral("null\n"));
        return ExitStatus::Success;
    }
    const ThiefKind::Kind kind =
        item->isApplication ? ThiefKind::Kind::application : ThiefKind::Kind::website;
    Terminal::printJson(QJsonDocument(QJsonObject{
        {QStringLiteral("kind"), ThiefKind::rawValue(kind)},
        {QStringLiteral("id"), textOrNull(item->identifier)},
        {QStringLiteral("name"), item->name},
        {QStringLiteral("host"),
         item->isApplication ? QJsonValue(QJsonValue::Null) : QJsonValue(item->identifier)},
    }));
    return ExitStatus::Success;
}

ExitStatus ScanCommands::run(DataController& store, int seconds)
{
    if (!StoreAccess::openForWriting(
            store, QStringLiteral("the store cannot be written here; nothing recorded")))
        return ExitStatus::Failure;
    const double since = Clock::current();
    {
        ActivityScanner scanner(store, browsers(store), FrontmostSource::forSession(),
                                std::make_unique<BrowserScripts>());
        if (!scanner.canSee()) {
            Terminal::printError(blind);
            return ExitStatus::Failure;
        }
        scanner.start();
        // The first look counts even for a run of no length.
        scanner.waitForSamples();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        scanner.stop();
    }
    const std::optional<QList<WorkActivity>> recorded =
        store.workActivities(Date(since), Date(Clock::current()));
    if (!recorded) {
        Terminal::printError(QStringLiteral("the store could not list what was recorded: %1")
                                 .arg(store.lastError().value_or(QStringLiteral("unknown error"))));
        return ExitStatus::Failure;
    }
    QJsonArray array;
    for (const WorkActivity& activity : *recorded) {
        array.append(QJsonObject{
            {QStringLiteral("start"), activity.startTime},
            {QStringLiteral("end"), activity.endTime},
            {QStringLiteral("id"), textOrNull(activity.identifier.value_or(QString()))},
            {QStringLiteral("name"), activity.name.value_or(QString())},
            {QStringLiteral("kind"), activity.kind.value_or(QString())},
        });
    }
    Terminal::printJson(QJsonDocument(array));
    return ExitStatus::Success;
}
