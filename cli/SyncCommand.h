#pragma once

#include "CommandArguments.h"
#include "Terminal.h"

// `sync`: what the application does with the cloud at its start, once and to the end: the
// upload of the local history when it has not all gone up, the replay of the writes that
// waited for the network, the purge of old work activities and a change fetch.
class SyncCommand {
public:
    // Exits 1 when no cloud database is connected, the account is not there or out of reach,
    // or anything is left waiting.
    static ExitStatus sync(const CommandArguments& arguments);
};
