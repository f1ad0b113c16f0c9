#include "StoreAccess.h"

#include "CommandArguments.h"
#include "Terminal.h"
#include "TimeArgument.h"

namespace StoreAccess {

bool open(DataController& store, DataController::OpenMode mode)
{
    if (store.open(mode))
        return true;
    Terminal::printError(QStringLiteral("cannot open the store %1: %2")
                             .arg(store.storeFilePath(),
                                  store.lastError().value_or(QStringLiteral("unknown error"))));
    return false;
}

bool openForWriting(DataController& store, const QString& refusal)
{
    if (!open(store, DataController::OpenMode::ReadWrite))
        return false;
    if (!store.isReadOnly())
        return true;
    Terminal::printError(refusal);
    return false;
}

bool failed(DataController& store, const QString& what)
{
    const std::optional<QString> error = store.lastError();
    if (!error)
        return false;
    Terminal::printError(QStringLiteral("%1: %2").arg(what, *error));
    return true;
}

std::optional<Date> dayOrToday(const CommandArguments& arguments)
{
    if (arguments.positionals().isEmpty())
        return Date::now();
    QString error;
    const std::optional<Date> given = TimeArgument::day(arguments.positionals().at(0), error);
    if (!given)
        Terminal::printError(QStringLiteral("day: ") + error);
    return given;
}

} // namespace StoreAccess
