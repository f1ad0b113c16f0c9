#include "TimerCommands.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QJsonDocument>
#include <QJsonObject>

#include "services/TimerControlService.h"

namespace {

QDBusMessage methodCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QLatin1String(TimerControlService::serviceName),
                                          QLatin1String(TimerControlService::objectPath),
                                          QLatin1String(TimerControlService::interfaceName),
                                          method);
}

} // namespace

TimerCommands::TimerCommands(QDBusConnection connection)
    : m_connection(std::move(connection))
{}

ExitStatus TimerCommands::runOnSessionBus(const CommandArguments& arguments)
{
    return TimerCommands(QDBusConnection::sessionBus()).run(arguments);
}

ExitStatus TimerCommands::run(const CommandArguments& arguments)
{
    const QString action = arguments.positionals().value(0);
    if (action == QLatin1String("status"))
        return status();
    static const QList<std::pair<QString, QString>> methods = {
        {QStringLiteral("toggle"), QStringLiteral("Toggle")},
        {QStringLiteral("reset"), QStringLiteral("ResetTimer")},
        {QStringLiteral("skip"), QStringLiteral("SkipFreeTime")},
        {QStringLiteral("show"), QStringLiteral("ShowPopover")},
    };
    for (const auto& [word, method] : methods) {
        if (action == word)
            return call(method);
    }
    Terminal::printError(
        QStringLiteral("timer: unknown action \"%1\"; use status, toggle, reset, skip or show")
            .arg(action));
    return ExitStatus::UsageError;
}

ExitStatus TimerCommands::call(const QString& method)
{
    if (!m_connection.isConnected()) {
        Terminal::printError(QStringLiteral("timer: no session bus; is Zestra running?"));
        return ExitStatus::Failure;
    }
    const QDBusMessage reply = m_connection.call(methodCall(method), QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        Terminal::printError(
            QStringLiteral("timer: Zestra is not running (%1)").arg(reply.errorMessage()));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

ExitStatus TimerCommands::status()
{
    if (!m_connection.isConnected()) {
        Terminal::printError(QStringLiteral("timer: no session bus; is Zestra running?"));
        return ExitStatus::Failure;
    }
    const QDBusReply<QVariantMap> reply =
        m_connection.call(methodCall(QStringLiteral("State")), QDBus::Block, 5000);
    if (!reply.isValid()) {
        Terminal::printError(
            QStringLiteral("timer: Zestra is not running (%1)").arg(reply.error().message()));
        return ExitStatus::Failure;
    }
    QJsonObject state = QJsonObject::fromVariantMap(reply.value());
    if (!state.contains(QLatin1String("task")))
        state.insert(QStringLiteral("task"), QJsonValue::Null);
    Terminal::printText(QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Indented)));
    return ExitStatus::Success;
}
