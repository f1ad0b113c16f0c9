#include <cstdio>

#include <QApplication>
#include <QDateTime>
#include <QTimer>

#include "shell/AppDelegate.h"
#include "services/TimerControlService.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zestra"));
    QApplication::setApplicationName(QStringLiteral("Zestra"));
    QApplication::setApplicationVersion(QStringLiteral(ZESTRA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.zestra.Zestra"));
    // It lives in the tray: closing its last window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

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
