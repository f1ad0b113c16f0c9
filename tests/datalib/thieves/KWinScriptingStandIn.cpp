#include "datalib/thieves/KWinScriptingStandIn.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString kwin = QStringLiteral("org.kde.KWin");

} // namespace

KWinScriptingStandIn::KWinScriptingStandIn(Starts starts, bool refusesScripts)
    : m_starts(starts)
    , m_refusesScripts(refusesScripts)
    , m_connectionName(QStringLiteral("kwin-stand-in"))
    , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName))
{
    m_bus.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
    moveToThread(&m_thread);
    m_thread.start();
}

KWinScriptingStandIn::~KWinScriptingStandIn()
{
    quit();
    m_bus.unregisterObject(QStringLiteral("/"));
    m_thread.quit();
    m_thread.wait();
    m_bus = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(m_connectionName);
}

bool KWinScriptingStandIn::appear()
{
    return m_bus.registerService(kwin);
}

void KWinScriptingStandIn::quit()
{
    m_bus.unregisterService(kwin);
}

QStringList KWinScriptingStandIn::calls() const
{
    const std::lock_guard lock(m_mutex);
    return m_calls;
}

QString KWinScriptingStandIn::lastScript() const
{
    const std::lock_guard lock(m_mutex);
    return m_script;
}

bool KWinScriptingStandIn::handleMessage(const QDBusMessage& message,
                                         const QDBusConnection& connection)
{
    const std::lock_guard lock(m_mutex);
    const QString path = message.path();
    const QString member = message.member();
    const QVariantList arguments = message.arguments();
    QString call = path + QLatin1Char(' ') + member;
    if (!arguments.isEmpty())
        call += QLatin1Char(' ') + arguments.constFirst().toString();
    m_calls.append(call);

    QDBusMessage reply = message.createErrorReply(QDBusError::UnknownMethod, call);
    if (path == QLatin1String("/Scripting") &&
        message.interface() == QLatin1String("org.kde.kwin.Scripting")) {
        if (member == QLatin1String("loadScript") && arguments.size() == 2) {
            QFile file(arguments.at(0).toString());
            if (file.open(QIODevice::ReadOnly))
                m_script = QString::fromUtf8(file.readAll());
            reply = message.createReply(m_refusesScripts ? -1 : ++m_lastId);
        } else if (member == QLatin1String("unloadScript") && arguments.size() == 1) {
            reply = message.createReply(true);
        } else if (member == QLatin1String("start") && m_starts == Starts::byScriptingStart) {
            reply = message.createReply();
        }
    } else if (path == QStringLiteral("/Scripting/Script%1").arg(m_lastId) &&
               member == QLatin1String("run") && m_starts == Starts::byScriptObject) {
        reply = message.createReply();
    } else {
        reply = message.createErrorReply(QDBusError::UnknownObject, call);
    }
    connection.send(reply);
    return true;
}

QString KWinScriptingStandIn::introspect(const QString&) const
{
    return {};
}

bool KWinScriptingStandIn::reportActiveWindow(const QString& desktopFileName) const
{
    static const QRegularExpression callDBus(
        QString::fromLatin1(R"re(callDBus\("([^"]+)", "([^"]+)", "([^"]+)", "([^"]+)")re"));
    const QRegularExpressionMatch match = callDBus.match(lastScript());
    if (!match.hasMatch())
        return false;
    QDBusMessage message = QDBusMessage::createMethodCall(match.captured(1), match.captured(2),
                                                          match.captured(3), match.captured(4));
    message << desktopFileName;
    return m_bus.call(message, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}
