#pragma once

#include <QStringList>

#include "CommandArguments.h"
#include "Terminal.h"

class DataController;

// `scan --once`: what the scanner sees in front now; `scan --seconds N`: the scanner run for
// N seconds, storing its stretches as the application does, then listed.
class ScanCommands {
public:
    static ExitStatus scan(const CommandArguments& arguments);
    static ExitStatus scan(DataController& store, const CommandArguments& arguments);

private:
    static ExitStatus once(DataController& store);
    static ExitStatus run(DataController& store, int seconds);
    // The desktop ids of the active browser thieves, as the scanner asks them.
    static QStringList browsers(DataController& store);
};
