#include "datalib/thieves/HeadlessSway.h"

#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr uid_t nobody = 65534;

QProcessEnvironment swayEnvironment(const QString& runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "SWAYSOCK", "I3SOCK"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("HOME"), runtime);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime);
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    // No GPU here: the software renderer draws the headless output.
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    return environment;
}

} // namespace

HeadlessSway::HeadlessSway()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("sway"));
    if (program.isEmpty()) {
        m_error = QStringLiteral("sway is not installed (package sway)");
        return;
    }
    const QString config = m_runtime.filePath(QStringLiteral("config"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write("xwayland disable\n") < 0) {
        m_error = QStringLiteral("cannot write the sway configuration");
        return;
    }
    file.close();
    const bool asRoot = getuid() == 0;
    if (asRoot && chown(QFile::encodeName(m_runtime.path()).constData(), nobody, nobody) != 0) {
        m_error = QStringLiteral("cannot hand the runtime folder to nobody");
        return;
    }
    m_sway = std::make_unique<QProcess>();
    m_sway->setProcessEnvironment(swayEnvironment(m_runtime.path()));
    m_sway->setProcessChannelMode(QProcess::MergedChannels);
    m_sway->setChildProcessModifier([asRoot] {
        // A test that crashes takes its compositor with it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (asRoot && (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(126);
    });
    m_sway->start(program, {QStringLiteral("-c"), config});
    if (!m_sway->waitForStarted(5000) || !waitForSockets()) {
        m_error = QStringLiteral("sway did not start: ") +
                  QString::fromLocal8Bit(m_sway->readAll()).right(2000);
        quit();
    }
}

HeadlessSway::~HeadlessSway()
{
    quit();
}

bool HeadlessSway::waitForSockets()
{
    const QDir runtime(m_runtime.path());
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_sway->state() == QProcess::Running) {
        const QStringList wayland =
            runtime.entryList({QStringLiteral("wayland-*")}, QDir::System)
                .filter(QRegularExpression(QStringLiteral("^wayland-\\d+$")));
        const QStringList ipc =
            runtime.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        if (!wayland.isEmpty() && !ipc.isEmpty()) {
            m_display = QFile::encodeName(runtime.filePath(wayland.constFirst()));
            m_ipcSocket = runtime.filePath(ipc.constFirst());
            return true;
        }
        QThread::msleep(10);
    }
    return false;
}

bool HeadlessSway::command(const QString& command)
{
    QProcess swaymsg;
    swaymsg.setProcessChannelMode(QProcess::MergedChannels);
    swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-s"), m_ipcSocket, command});
    return swaymsg.waitForFinished(10000) && swaymsg.exitStatus() == QProcess::NormalExit &&
           swaymsg.exitCode() == 0;
}

std::unique_ptr<QProcess> HeadlessSway::openWindow(const QString& appId, const QString& title)
{
    auto client = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QFile::decodeName(m_display));
    client->setProcessEnvironment(environment);
    client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    client->start(QStringLiteral(ZESTRA_WAYLAND_TEST_CLIENT), {appId, title});
    client->waitForStarted(5000);
    return client;
}

void HeadlessSway::quit()
{
    m_display.clear();
    if (!m_sway || m_sway->state() == QProcess::NotRunning)
        return;
    m_sway->terminate();
    if (!m_sway->waitForFinished(5000)) {
        m_sway->kill();
        m_sway->waitForFinished();
    }
}
