#include "datalib/thieves/XvfbDisplay.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

XvfbDisplay::XvfbDisplay()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        m_error = QStringLiteral("Xvfb is not installed (package xvfb)");
        return;
    }
    // Spread over the numbers so parallel test runs rarely meet.
    const int first = 100 + getpid() % 400;
    for (int number = first; number < first + 20; ++number) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (startOn(program, number))
            return;
    }
    m_error = QStringLiteral("Xvfb did not start on any free display");
}

bool XvfbDisplay::startOn(const QString& program, int number)
{
    const QByteArray name = ':' + QByteArray::number(number);
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->setStandardOutputFile(QProcess::nullDevice());
    // A test that crashes takes its server with it.
    m_server->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    // -noreset: the root window keeps its properties while no client is connected.
    m_server->start(program,
                    {QString::fromLatin1(name), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                     QStringLiteral("-noreset"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("320x240x24")});
    if (!m_server->waitForStarted(5000))
        return false;
    // Ready once it accepts a client; another run that took the number makes it exit.
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (m_server->state() != QProcess::Running)
            break;
        xcb_connection_t* connection = xcb_connect(name.constData(), nullptr);
        const bool ready = !xcb_connection_has_error(connection);
        xcb_disconnect(connection);
        if (ready) {
            m_name = name;
            return true;
        }
        QThread::msleep(20);
    }
    m_server->kill();
    m_server->waitForFinished();
    m_server.reset();
    return false;
}

XvfbDisplay::~XvfbDisplay()
{
    if (!m_server)
        return;
    m_server->terminate();
    if (!m_server->waitForFinished(5000)) {
        m_server->kill();
        m_server->waitForFinished();
    }
}
