#pragma once

#include <optional>

#include <QHash>
#include <QString>
#include <QStringList>

// The words that follow a command's name: positional arguments and options written
// "--name value" or "--name=value". After "--" the words are positional until the command
// has all the positionals it takes, so a task whose name begins with a dash can still be
// named, and options may follow it.
class CommandArguments {
public:
    // What one command accepts. Option names include their dashes ("--start").
    struct Shape {
        int requiredPositionals = 0;
        int optionalPositionals = 0;
        QStringList requiredOptions;
        QStringList optionalOptions;
        // Options that take no value ("--once"); option() answers "" for one given.
        QStringList flags = {};
    };

    // Absent, with `error` saying why, for an unknown, repeated or value-less option,
    // a missing required option, and too few or too many positional arguments.
    static std::optional<CommandArguments> parse(const QStringList& words, const Shape& shape,
                                                 QString& error);

    const QStringList& positionals() const { return m_positionals; }
    std::optional<QString> option(const QString& name) const;

private:
    QStringList m_positionals;
    QHash<QString, QString> m_options;
};
