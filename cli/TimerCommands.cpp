#include "TimerCommands.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>

#include "cloud/CloudDatabase.h"
#include "cloud/CloudHandoff.h"
#include "services/ConfiguredCloud.h"
#include "services/TimerControlAdaptor.h"
#include "services/TimerControlInterface.h"
#include "services/TimerControlService.h"
#include "settings/Settings.h"
#include "store/Date.h"

namespace {

QDBusMessage methodCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QLatin1String(TimerControlService::serviceName),
                                          QLatin1String(TimerControlService::objectPath),
                                          QLatin1String(TimerControlService::interfaceName),
                                          method);
}

// D-Bus leaves an absent task out; scripts find it as null.
QJsonDocument stateDocument(const QVariantMap& state)
{
    QJsonObject object = QJsonObject::fromVariantMap(state);
    if (!object.contains(QLatin1String("task")))
        object.insert(QStringLiteral("task"), QJsonValue::Null);
    return QJsonDocument(object);
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
    if (action == QLatin1String("watch"))
        return watch();
    if (action == QLatin1String("continue"))
        return continueCountdown();
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
        QStringLiteral(
            "timer: unknown action \"%1\"; use status, watch, toggle, reset, skip, show or "
            "continue")
            .arg(action));
    return ExitStatus::UsageError;
}

ExitStatus TimerCommands::call(const QString& method)
{
    return request(method) ? ExitStatus::Success : ExitStatus::Failure;
}

std::optional<QDBusMessage> TimerCommands::request(const QString& method)
{
    if (!m_connection.isConnected()) {
        Terminal::printError(QStringLiteral("timer: no session bus; is Zestra running?"));
        return std::nullopt;
    }
    const QDBusMessage reply = m_connection.call(methodCall(method), QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        Terminal::printError(
            QStringLiteral("timer: Zestra is not running (%1)").arg(reply.errorMessage()));
        return std::nullopt;
    }
    return reply;
}

std::optional<QVariantMap> TimerCommands::state()
{
    const std::optional<QDBusMessage> reply = request(QStringLiteral("State"));
    if (!reply)
        return std::nullopt;
    const QDBusReply<QVariantMap> state(*reply);
    if (!state.isValid()) {
        Terminal::printError(QStringLiteral("timer: Zestra answered no state"));
        return std::nullopt;
    }
    return state.value();
}

ExitStatus TimerCommands::status()
{
    const std::optional<QVariantMap> current = state();
    if (!current)
        return ExitStatus::Failure;
    Terminal::printText(QString::fromUtf8(stateDocument(*current).toJson(QJsonDocument::Indented)));
    return ExitStatus::Success;
}

ExitStatus TimerCommands::watch()
{
    auto printLine = [](const QVariantMap& state) {
        Terminal::printText(QString::fromUtf8(stateDocument(state).toJson(QJsonDocument::Compact)) +
                            u'\n');
    };
    QEventLoop loop;
    // Subscribed before the first state is asked for, so no change falls between the two.
    TimerControlInterface timer(m_connection);
    QObject::connect(&timer, &TimerControlInterface::StateChanged, &loop, printLine);
    QDBusServiceWatcher watcher(QLatin1String(TimerControlService::serviceName), m_connection,
                                QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &loop, [&loop] {
        Terminal::printError(QStringLiteral("timer: Zestra has quit"));
        loop.exit(static_cast<int>(ExitStatus::Failure));
    });

    const std::optional<QVariantMap> first = state();
    if (!first)
        return ExitStatus::Failure;
    printLine(*first);
    return static_cast<ExitStatus>(loop.exec());
}

ExitStatus TimerCommands::continueCountdown()
{
    Settings settings;
    settings.registerApplicationDefaults();
    const std::unique_ptr<CloudDatabase> database = ConfiguredCloud::open(settings);
    if (!database) {
        Terminal::printError(QStringLiteral("timer continue: no cloud database is connected "
                                            "(zestra-cli cloud connect <uri>)"));
        return ExitStatus::Failure;
    }
    CloudHandoff handoff(*database);
    CloudFailure failure;
    const std::optional<CloudHandoff::Offer> offer =
        handoff.latestOffer(Date::now().timeIntervalSinceReferenceDate(), failure);
    if (!offer) {
        Terminal::printError(
            failure.message.isEmpty()
                ? QStringLiteral("timer continue: no other computer has a countdown to continue")
                : QStringLiteral("timer continue: the cloud database did not answer: ") +
                      failure.message);
        return ExitStatus::Failure;
    }
    if (!m_connection.isConnected()) {
        Terminal::printError(QStringLiteral("timer: no session bus; is Zestra running?"));
        return ExitStatus::Failure;
    }
    QDBusMessage call = methodCall(QStringLiteral("Continue"));
    call << TimerControlAdaptor::withoutNulls(offer->userInfo);
    const QDBusReply<bool> continued = m_connection.call(call, QDBus::Block, 5000);
    if (!continued.isValid()) {
        Terminal::printError(
            QStringLiteral("timer: Zestra is not running (%1)").arg(continued.error().message()));
        return ExitStatus::Failure;
    }
    if (!continued.value()) {
        Terminal::printError(QStringLiteral("timer continue: the countdown of %1 is incomplete")
                                 .arg(offer->deviceName));
        return ExitStatus::Failure;
    }
    QVariantMap what = offer->userInfo;
    what.insert(QStringLiteral("from"), offer->deviceName);
    what.insert(QStringLiteral("remaining"), offer->remaining);
    Terminal::printText(QString::fromUtf8(stateDocument(what).toJson(QJsonDocument::Indented)));
    return ExitStatus::Success;
}
