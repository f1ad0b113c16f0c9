#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "CommandArguments.h"
#include "StoreCommands.h"
#include "Terminal.h"

// The commands the program knows, their shapes and their usage text. It finds the
// command, checks the shape of its arguments, and only then opens the store (when the
// command needs it).
class CommandTable {
public:
    CommandTable();

    // `arguments` without the program's own name.
    ExitStatus run(const QStringList& arguments) const;
    QString usage() const;

private:
    enum class StoreUse {
        Writes,
        // Also works on a store that cannot be written here, without changing it.
        Reads,
        // Reads only the Today summary; the store stays closed.
        SummaryOnly,
    };

    struct Command {
        QString name;
        QString synopsis;
        CommandArguments::Shape shape;
        ExitStatus (StoreCommands::*handler)(const CommandArguments&);
        // Set instead of `handler` for a command that leaves the store closed.
        ExitStatus (*storeless)(const CommandArguments&) = nullptr;
        StoreUse use = StoreUse::Writes;
    };

    static ExitStatus runOnStore(const Command& command, const CommandArguments& arguments);

    const Command* find(const QString& name) const;
    ExitStatus help(const QStringList& topics) const;
    QString commandUsage(const Command& command) const;

    QList<Command> m_commands;
};
