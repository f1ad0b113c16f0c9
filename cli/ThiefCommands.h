#pragma once

#include <QJsonArray>
#include <QList>

#include "CommandArguments.h"
#include "Terminal.h"
#include "store/Thief.h"

class DataController;

// `thieves [list]`, `thieves add-app <desktop-id>`, `thieves add-site <domain>`,
// `thieves activate|deactivate <identifier>` and `activities [<day>]`.
class ThiefCommands {
public:
    // Open the store of the data folder: for reading only to list, for writing otherwise.
    static ExitStatus thieves(const CommandArguments& arguments);
    static ExitStatus activities(const CommandArguments& arguments);

    static ExitStatus thieves(DataController& store, const CommandArguments& arguments);
    static ExitStatus activities(DataController& store, const CommandArguments& arguments);

    // [{"identifier", "name", "kind", "active", "preloaded"}, ...] in store order.
    static QJsonArray json(const QList<Thief>& thieves);
};
