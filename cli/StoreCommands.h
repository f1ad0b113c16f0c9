#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "CommandArguments.h"
#include "Terminal.h"
#include "store/DataController.h"

// One member per command that reads or writes the store. Each checks its values before
// the first store call, so a wrong command line never opens the store, and each asks the
// store afterwards whether it did what was asked: a write that was not stored, or a query
// that failed, is reported and ends with a failure status.
class StoreCommands {
public:
    // The store is opened in `mode` by the first command that needs it, once its own
    // arguments are found good.
    StoreCommands(DataController& store,
                  DataController::OpenMode mode = DataController::OpenMode::ReadWrite);

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
    ExitStatus addCounted(const CommandArguments& arguments, const QString& what,
                          const std::function<void(double at, int count)>& add);
    // Opens the store; a store that cannot open, or only for reading, is reported.
    bool opened();
    // Says so when the store's last operation failed; `what` names what was not done.
    bool failed(const QString& what);
    // Whether a task of that name exists; absent (and said) when the store could not tell.
    std::optional<bool> taskExists(const QString& name);
    // True when the task exists as wanted; otherwise false, with the reason said.
    bool taskPresence(const QString& name, bool wanted);

    DataController& m_store;
    const DataController::OpenMode m_mode;
};
