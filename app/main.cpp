#include <cstdio>

#include <QApplication>
#include <QDateTime>
#include <QTimer>

#include "services/TimerControlService.h"
#include "shell/AppDelegate.h"
#include "shell/LaunchOptions.h"

namespace {

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before the application object, which needs a display, and before the bus.
    const LaunchOptions options = LaunchOptions::parse(argumentsOf(argc, argv));
    if (options.action() != LaunchOptions::Action::run) {
        std::FILE* out = options.action() == LaunchOptions::Action::error ? stderr : stdout;
        std::fputs(options.message().toLocal8Bit().constData(), out);
        return options.exitCode();
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zestra"));
    QApplication::setApplicationName(QStringLiteral("Zestra"));
    QApplication::setApplicationVersion(QStringLiteral(ZESTRA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zestra.Zestra"));

    AppDelegate delegate;
    TimerControlService control;
    if (!control.start(delegate)) {
        // Another instance owns the name: bring its popover forward instead.
        if (control.showRunningInstance())
            return 0;
    }
    // For start-up measurements: the moment the popover is on screen, once drawn.
    if (qEnvironmentVariableIsSet("ZESTRA_STARTUP_MARK")) {
        QTimer::singleShot(0, &delegate, [] {
            std::printf("popover-shown %lld\n", QDateTime::currentMSecsSinceEpoch());
            std::fflush(stdout);
        });
    }
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
