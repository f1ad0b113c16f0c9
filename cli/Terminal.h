#pragma once

#include <QJsonDocument>
#include <QString>

// What the program answers to the shell.
enum class ExitStatus : int {
    Success = 0,
    // The store refused or found nothing to answer.
    Failure = 1,
    // The command line itself is wrong.
    UsageError = 2,
};

// Standard output carries only a command's own result, so that scripts can parse it;
// everything meant for a person goes to standard error.
class Terminal {
public:
    static void printJson(const QJsonDocument& document);
    static void printText(const QString& text);
    // One line on standard error, prefixed with the program's name.
    static void printError(const QString& message);
    // One line on standard error as it is (the store's diagnostic lines).
    static void printDiagnostic(const QString& line);
};
