#pragma once

#include <functional>

#include "CommandArguments.h"
#include "Terminal.h"

class DataController;

// One member per command that reads or writes the store. Each checks its values before
// the first store call, so a wrong command line never opens the store.
class StoreCommands {
public:
    explicit StoreCommands(DataController& store);

    ExitStatus addPomodoro(const CommandArguments& arguments);
    ExitStatus addTaskInfo(const CommandArguments& arguments);
    ExitStatus renameTaskInfo(const CommandArguments& arguments);
    ExitStatus deleteTaskInfo(const CommandArguments& arguments);
    ExitStatus addSession(const CommandArguments& arguments);
    ExitStatus addGoal(const CommandArguments& arguments);
    ExitStatus day(const CommandArguments& arguments);
    ExitStatus exportCsv(const CommandArguments& arguments);
    ExitStatus today(const CommandArguments& arguments);
    ExitStatus tasks(const CommandArguments& arguments);
    ExitStatus stats(const CommandArguments& arguments);

private:
    // A session or a goal: its moment (--at) and its count of tasks (--tasks).
    ExitStatus addCounted(const CommandArguments& arguments,
                          const std::function<void(double at, int count)>& add);
    DataController& m_store;
};
