#pragma once

#include <optional>

#include <QString>

#include "store/DataController.h"
#include "store/Date.h"

class CommandArguments;

// What every store command does around its work: open the store, say why an operation
// failed, read the optional day argument.
namespace StoreAccess {

// Opens the store; when it cannot, says why on standard error and answers false.
bool open(DataController& store, DataController::OpenMode mode);
// Opens the store for a write; a store that can only be read is refused with `refusal`.
bool openForWriting(DataController& store, const QString& refusal);
// Says so when the store's last operation failed; `what` names what was not done.
bool failed(DataController& store, const QString& what);
// The day of the first positional argument, or today without one; absent (and said) when
// the argument is no day.
std::optional<Date> dayOrToday(const CommandArguments& arguments);

} // namespace StoreAccess
