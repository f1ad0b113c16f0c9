#include <QCoreApplication>

#include "CommandTable.h"
#include "Console.h"
#include "Terminal.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Zestra"));
    QCoreApplication::setApplicationName(QStringLiteral("Zestra"));
    // The library's diagnostics would otherwise mix with the JSON on standard output.
    Console::setSink(&Terminal::printDiagnostic);
    return static_cast<int>(CommandTable().run(QCoreApplication::arguments().mid(1)));
}
