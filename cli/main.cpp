#include <mutex>

#include <QCoreApplication>
#include <QStringList>

#include "CommandTable.h"
#include "Console.h"
#include "ReportCommands.h"
#include "Terminal.h"

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = ReportCommands::application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zestra"));
    QCoreApplication::setApplicationName(QStringLiteral("Zestra"));
    // The library's diagnostics would otherwise mix with the JSON on standard output. They
    // are held until the command ends: a command that fails says why in one line of its own.
    std::mutex mutex;
    QStringList diagnostics;
    Console::setSink([&](const QString& line) {
        std::lock_guard guard(mutex);
        diagnostics.append(line);
    });
    const ExitStatus status = CommandTable().run(QCoreApplication::arguments().mid(1));
    Console::setSink(&Terminal::printDiagnostic);
    if (status == ExitStatus::Success) {
        std::lock_guard guard(mutex);
        for (const QString& line : diagnostics)
            Terminal::printDiagnostic(line);
    }
    return static_cast<int>(status);
}
