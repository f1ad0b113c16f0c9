#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program. Read before the application object exists, so
// --help and --version answer without a display or a session bus.
class LaunchOptions {
public:
    enum class Action { run, help, version, error };

    // `arguments` starts with the program's name, as argv does.
    static LaunchOptions parse(const QStringList& arguments);

    Action action() const { return m_action; }
    // What to print: on standard output for help and version, on standard error otherwise.
    QString message() const { return m_message; }
    int exitCode() const { return m_action == Action::error ? 2 : 0; }

private:
    Action m_action = Action::run;
    QString m_message;
};
