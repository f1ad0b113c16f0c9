#pragma once

#include <QJsonObject>

#include "CommandArguments.h"
#include "Terminal.h"
#include "reports/LogbookDay.h"
#include "store/Date.h"

class DataController;

// `logbook [<day>]`: the rows of a day as the logbook window shows them, newest first with
// the start of the day last, as JSON.
class LogbookCommands {
public:
    // Opens the store of the data folder for reading.
    static ExitStatus logbook(const CommandArguments& arguments);
    static ExitStatus show(DataController& store, const CommandArguments& arguments);

    // {"day": "YYYY-MM-DD", "hasPomodoros": bool, "rows": [...]}; every row has every key,
    // null where it does not apply.
    static QJsonObject json(Date day, const LogbookDay& logbook);
};
