#include "SyncCommand.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include "StoreAccess.h"
#include "cloud/CloudOperationCache.h"
#include "services/CloudSession.h"
#include "services/ConfiguredCloud.h"
#include "settings/Settings.h"

ExitStatus SyncCommand::sync(const CommandArguments&)
{
    Settings settings;
    settings.registerApplicationDefaults();
    if (ConfiguredCloud::uri(settings).isEmpty()) {
        Terminal::printError(QStringLiteral(
            "sync: no cloud database is connected (zestra-cli cloud connect <uri>)"));
        return ExitStatus::Failure;
    }
    DataController store(DataController::defaultDataDirectory());
    if (!StoreAccess::openForWriting(store, QStringLiteral("sync: the store cannot be written "
                                                           "here; nothing was synced")))
        return ExitStatus::Failure;

    std::optional<bool> available;
    {
        CloudSession session(store, settings);
        QObject::connect(&session, &CloudSession::accountChecked,
                         [&available](bool answer) { available = answer; });
        session.start();
        // The replay hands its operations back to the engine, which may queue more.
        session.waitForWork();
        CloudOperationCache::shared().waitForWork();
        session.waitForWork();
        // The record names of replayed saves reach the store on this thread.
        QCoreApplication::sendPostedEvents();
    }
    CloudOperationCache::shared().waitForWork();
    const int pending = int(CloudOperationCache::shared().operations().size());
    const bool migrated = settings.boolValue(QLatin1String(Settings::MigratedToCloud));
    const QString account = !available   ? QStringLiteral("unreachable")
                            : *available ? QStringLiteral("available")
                                         : QStringLiteral("noAccount");
    Terminal::printJson(QJsonDocument(QJsonObject{{QStringLiteral("account"), account},
                                                  {QStringLiteral("migrated"), migrated},
                                                  {QStringLiteral("pendingOperations"), pending}}));
    if (available != true) {
        Terminal::printError(QStringLiteral("sync: the cloud account is %1").arg(account));
        return ExitStatus::Failure;
    }
    if (!migrated || pending > 0) {
        Terminal::printError(
            QStringLiteral("sync: %1 operations are still waiting%2")
                .arg(pending)
                .arg(migrated ? QString() : QStringLiteral(" and the history is not all up")));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}
