#include "ThiefCommands.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include "StoreAccess.h"
#include "Terminal.h"
#include "store/DataController.h"
#include "thieves/DesktopEntry.h"
#include "thieves/ThiefDictionary.h"
#include "thieves/ThiefImages.h"
#include "thieves/ThiefKind.h"
#include "thieves/WebsiteHost.h"

namespace {

const QString nothingChanged = QStringLiteral("the store cannot be written here; nothing changed");

QJsonValue textOrNull(const std::optional<QString>& text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

ExitStatus list(DataController& store)
{
    if (!StoreAccess::open(store, DataController::OpenMode::ReadOnlyWhenUnwritable))
        return ExitStatus::Failure;
    const std::optional<QList<Thief>> thieves = store.thieves();
    if (StoreAccess::failed(store, QStringLiteral("the store could not list the thieves")) ||
        !thieves)
        return ExitStatus::Failure;
    Terminal::printJson(QJsonDocument(ThiefCommands::json(*thieves)));
    return ExitStatus::Success;
}

// Adds the thief, or switches on the one that has its identifier, and checks it is there.
ExitStatus add(DataController& store, const QString& name, const QString& identifier,
               ThiefKind::Kind kind)
{
    if (!StoreAccess::openForWriting(store, nothingChanged))
        return ExitStatus::Failure;
    store.addThieve(ThiefDictionary::make(name, identifier, ThiefKind::rawValue(kind), true, false),
                    ThiefImages::namedOrGeneric(identifier));
    if (StoreAccess::failed(store, QStringLiteral("the thief was not stored")))
        return ExitStatus::Failure;
    const std::optional<Thief> stored = store.thief(identifier);
    if (StoreAccess::failed(store, QStringLiteral("the store could not look the thief up")))
        return ExitStatus::Failure;
    if (!stored || !stored->isActive) {
        Terminal::printError(QStringLiteral("the thief \"%1\" was not stored").arg(identifier));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

ExitStatus switchThief(DataController& store, const QString& identifier, bool active)
{
    if (!StoreAccess::openForWriting(store, nothingChanged))
        return ExitStatus::Failure;
    const std::optional<Thief> existing = store.thief(identifier);
    if (StoreAccess::failed(store, QStringLiteral("the store could not look the thief up")))
        return ExitStatus::Failure;
    if (!existing) {
        Terminal::printError(
            QStringLiteral("no thief \"%1\"; see zestra-cli thieves list").arg(identifier));
        return ExitStatus::Failure;
    }
    if (active)
        store.activateThief(identifier);
    else
        store.deactivateThief(identifier);
    return StoreAccess::failed(store, QStringLiteral("the thief was not switched"))
               ? ExitStatus::Failure
               : ExitStatus::Success;
}

} // namespace

QJsonArray ThiefCommands::json(const QList<Thief>& thieves)
{
    QJsonArray array;
    for (const Thief& thief : thieves)
        array.append(QJsonObject{
            {QStringLiteral("identifier"), textOrNull(thief.identifier)},
            {QStringLiteral("name"), textOrNull(thief.name)},
            {QStringLiteral("kind"), textOrNull(thief.kind)},
            {QStringLiteral("active"), thief.isActive},
            {QStringLiteral("preloaded"), thief.preloaded},
        });
    return array;
}

ExitStatus ThiefCommands::thieves(const CommandArguments& arguments)
{
    DataController store(DataController::defaultDataDirectory());
    return thieves(store, arguments);
}

ExitStatus ThiefCommands::thieves(DataController& store, const CommandArguments& arguments)
{
    const QStringList& words = arguments.positionals();
    const QString action = words.value(0, QStringLiteral("list"));
    const QStringList actions{QStringLiteral("list"), QStringLiteral("add-app"),
                              QStringLiteral("add-site"), QStringLiteral("activate"),
                              QStringLiteral("deactivate")};
    if (!actions.contains(action)) {
        Terminal::printError(QStringLiteral("thieves: unknown action \"%1\"; it is list, "
                                            "add-app, add-site, activate or deactivate")
                                 .arg(action));
        return ExitStatus::UsageError;
    }
    const bool takesValue = action != QLatin1String("list");
    if (takesValue && words.size() != 2) {
        Terminal::printError(QStringLiteral("thieves %1: name one thief").arg(action));
        return ExitStatus::UsageError;
    }
    if (!takesValue && words.size() > 1) {
        Terminal::printError(QStringLiteral("thieves list takes nothing more"));
        return ExitStatus::UsageError;
    }
    if (action == QLatin1String("list"))
        return list(store);

    const QString& value = words.at(1);
    if (action == QLatin1String("add-app")) {
        QString error;
        const std::optional<DesktopEntry> entry = DesktopEntry::find(value, error);
        if (!entry) {
            Terminal::printError(QStringLiteral("thieves add-app: ") + error);
            return ExitStatus::Failure;
        }
        return add(store, entry->name, entry->id, ThiefKind::Kind::application);
    }
    if (action == QLatin1String("add-site")) {
        QString error;
        const std::optional<QString> host = WebsiteHost::normalised(value, error);
        if (!host) {
            Terminal::printError(QStringLiteral("thieves add-site: ") + error);
            return ExitStatus::UsageError;
        }
        return add(store, *host, *host, ThiefKind::Kind::website);
    }
    return switchThief(store, value, action == QLatin1String("activate"));
}

ExitStatus ThiefCommands::activities(const CommandArguments& arguments)
{
    DataController store(DataController::defaultDataDirectory());
    return activities(store, arguments);
}

ExitStatus ThiefCommands::activities(DataController& store, const CommandArguments& arguments)
{
    const std::optional<Date> day = StoreAccess::dayOrToday(arguments);
    if (!day)
        return ExitStatus::UsageError;
    const Date date = *day;
    if (!StoreAccess::open(store, DataController::OpenMode::ReadOnlyWhenUnwritable))
        return ExitStatus::Failure;
    const std::optional<QList<WorkActivity>> activities = store.workActivities(date);
    if (StoreAccess::failed(store, QStringLiteral("the store could not answer for that day")) ||
        !activities)
        return ExitStatus::Failure;

    // A thief is an identifier of an active thief, as the thief window counts it.
    QHash<QString, bool> isThief;
    QJsonArray array;
    for (const WorkActivity& activity : *activities) {
        const QString identifier = activity.identifier.value_or(QString());
        if (activity.identifier && !isThief.contains(identifier)) {
            const std::optional<Thief> thief = store.thief(identifier);
            if (StoreAccess::failed(store,
                                    QStringLiteral("the store could not look the thieves up")))
                return ExitStatus::Failure;
            isThief.insert(identifier, thief && thief->isActive);
        }
        array.append(QJsonObject{
            {QStringLiteral("start"), activity.startTime},
            {QStringLiteral("end"), activity.endTime},
            {QStringLiteral("id"), textOrNull(activity.identifier)},
            {QStringLiteral("name"), textOrNull(activity.name)},
            {QStringLiteral("kind"), textOrNull(activity.kind)},
            {QStringLiteral("thief"), isThief.value(identifier, false)},
        });
    }
    Terminal::printJson(QJsonDocument(array));
    return ExitStatus::Success;
}
