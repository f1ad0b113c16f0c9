#pragma once

#include <memory>

#include <QStringList>

#include "CommandArguments.h"
#include "Terminal.h"

class QCoreApplication;

// zestra-cli report: a report's HTML on standard output, or printed to a PDF file by the
// application's report viewer plugin.
class ReportCommands {
public:
    // The application object the command line needs: a graphical one on the offscreen
    // platform for a PDF report, which the web engine prints, else a plain core one.
    static std::unique_ptr<QCoreApplication> application(int& argc, char** argv);
    // Whether these arguments (without the program's name) ask for a PDF report.
    static bool wantsPdf(const QStringList& arguments);

    static ExitStatus run(const CommandArguments& arguments);
};
