#include "BrowserUrlRun.h"

#include <ostream>

#include <QProcess>

BrowserUrlRun::BrowserUrlRun(const QString& link, const QString& home)
{
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(link.contains(QLatin1Char('/'))
                      ? link
                      : QStringLiteral(ZESTRA_BROWSER_SCRIPTS_BUILD_DIR "/") + link,
                  {});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        crashed = true;
        err = "did not finish";
        return;
    }
    crashed = process.exitStatus() != QProcess::NormalExit;
    exitCode = process.exitCode();
    out = process.readAllStandardOutput();
    err = process.readAllStandardError();
}

void PrintTo(const BrowserUrlRun& run, std::ostream* os)
{
    *os << (run.crashed ? "crashed" : "exit ") << run.exitCode << ", out \""
        << run.out.toStdString() << "\", err \"" << run.err.toStdString() << '"';
}
