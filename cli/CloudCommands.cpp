#include "CloudCommands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cloud/CloudCredentials.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudError.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/CloudSchema.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"
#include "services/ConfiguredCloud.h"
#include "settings/Settings.h"

namespace {

// Enough for any user of one server, small enough to stay a 64-bit count of bytes.
constexpr qint64 mostQuotaMegabytes = 1024LL * 1024 * 1024;

} // namespace

ExitStatus CloudCommands::cloud(const CommandArguments& arguments)
{
    const QStringList& words = arguments.positionals();
    const QString action = words.value(0);
    const QString adminUri = arguments.option(QStringLiteral("--admin")).value_or(QString());
    const std::optional<QString> quota = arguments.option(QStringLiteral("--quota-mb"));
    const bool administering =
        action == QLatin1String("init") || action == QLatin1String("add-user");
    if (administering && adminUri.isEmpty()) {
        Terminal::printError(QStringLiteral("cloud %1 needs --admin <uri>").arg(action));
        return ExitStatus::UsageError;
    }
    if (action == QLatin1String("init")) {
        if (words.size() != 1 || quota) {
            Terminal::printError(QStringLiteral("cloud init takes only --admin <uri>"));
            return ExitStatus::UsageError;
        }
        return init(adminUri);
    }
    if (action == QLatin1String("add-user")) {
        if (words.size() != 2) {
            Terminal::printError(QStringLiteral("cloud add-user: name one user"));
            return ExitStatus::UsageError;
        }
        qint64 megabytes = CloudUsers::defaultQuotaBytes / (1024 * 1024);
        if (quota) {
            bool ok = false;
            megabytes = quota->toLongLong(&ok);
            if (!ok || megabytes < 0 || megabytes > mostQuotaMegabytes) {
                Terminal::printError(
                    QStringLiteral("cloud add-user: --quota-mb takes a whole number of "
                                   "megabytes from 0 to %1, not \"%2\"")
                        .arg(mostQuotaMegabytes)
                        .arg(*quota));
                return ExitStatus::UsageError;
            }
        }
        return addUser(adminUri, words.at(1), megabytes * 1024 * 1024);
    }
    if (action == QLatin1String("connect") || action == QLatin1String("status")) {
        const bool connecting = action == QLatin1String("connect");
        if (words.size() != (connecting ? 2 : 1) || quota || !adminUri.isEmpty()) {
            Terminal::printError(connecting ? QStringLiteral("cloud connect takes one URI")
                                            : QStringLiteral("cloud status takes nothing more"));
            return ExitStatus::UsageError;
        }
        return connecting ? connect(words.at(1)) : status();
    }
    Terminal::printError(QStringLiteral("cloud: unknown action \"%1\"; it is init, add-user, "
                                        "connect or status")
                             .arg(action));
    return ExitStatus::UsageError;
}

ExitStatus CloudCommands::init(const QString& adminUri)
{
    CloudError error;
    const std::unique_ptr<PgConnection> admin = PgConnection::open(adminUri, error);
    if (!admin)
        return failed(QStringLiteral("cloud init"), error);
    const std::optional<CloudSchema::Outcome> outcome = CloudSchema::upgrade(*admin, error);
    if (!outcome)
        return failed(QStringLiteral("cloud init"), error);
    if (outcome->previousVersion == outcome->currentVersion)
        Terminal::printText(QStringLiteral("The cloud schema is up to date (version %1).\n")
                                .arg(outcome->currentVersion));
    else if (outcome->previousVersion == 0)
        Terminal::printText(QStringLiteral("Created the cloud schema (version %1).\n")
                                .arg(outcome->currentVersion));
    else
        Terminal::printText(QStringLiteral("Upgraded the cloud schema from version %1 to %2.\n")
                                .arg(outcome->previousVersion)
                                .arg(outcome->currentVersion));
    return ExitStatus::Success;
}

ExitStatus CloudCommands::addUser(const QString& adminUri, const QString& name, qint64 quotaBytes)
{
    CloudError error;
    if (const QString problem = CloudUsers::nameProblem(name); !problem.isEmpty())
        return failed(QStringLiteral("cloud add-user"),
                      {CloudError::Kind::InvalidName, problem, QString()});
    const std::unique_ptr<PgConnection> admin = PgConnection::open(adminUri, error);
    if (!admin)
        return failed(QStringLiteral("cloud add-user"), error);
    const std::optional<CloudUsers::User> user = CloudUsers::add(*admin, name, quotaBytes, error);
    if (!user)
        return failed(QStringLiteral("cloud add-user"), error);
    // Standard output holds only the URI, for scripts; it carries the password.
    Terminal::printText(user->uri + QLatin1Char('\n'));
    Terminal::printDiagnostic(
        QStringLiteral("Added \"%1\" with a quota of %2 MB. Keep the URI secret: it holds the "
                       "password, which is not stored anywhere else.")
            .arg(name)
            .arg(quotaBytes / (1024 * 1024)));
    return ExitStatus::Success;
}

ExitStatus CloudCommands::failed(const QString& action, const CloudError& error)
{
    Terminal::printError(action + QStringLiteral(": ") + error.message);
    const bool usage =
        error.kind == CloudError::Kind::InvalidUri || error.kind == CloudError::Kind::InvalidName;
    return usage ? ExitStatus::UsageError : ExitStatus::Failure;
}

ExitStatus CloudCommands::connect(const QString& uri)
{
    QString error;
    const std::optional<CloudCredentials::Parsed> parsed = CloudCredentials::parse(uri, error);
    if (!parsed) {
        Terminal::printError(QStringLiteral("cloud connect: ") + error);
        return ExitStatus::UsageError;
    }
    Settings settings;
    settings.registerApplicationDefaults();
    QString where = QStringLiteral("the password is left to libpq (none in the URI)");
    if (parsed->password) {
        const std::optional<CloudCredentials::Place> place =
            CloudCredentials::store(parsed->uri, parsed->user, *parsed->password, error);
        if (!place) {
            Terminal::printError(QStringLiteral("cloud connect: the password could not be kept: ") +
                                 error);
            return ExitStatus::Failure;
        }
        where = *place == CloudCredentials::Place::keyring
                    ? QStringLiteral("the password is in the desktop keyring")
                    : QStringLiteral("no keyring answered: the password is in ") +
                          CloudCredentials::passwordFilePath();
    }
    if (!settings.setString(QLatin1String(Settings::CloudDatabaseURI), parsed->uri)) {
        Terminal::printError(QStringLiteral("cloud connect: the settings could not be saved"));
        return ExitStatus::Failure;
    }
    Terminal::printDiagnostic(QStringLiteral("Connected to %1; %2.").arg(parsed->uri, where));
    // A database that cannot be reached now is still this user's: sync waits for it.
    CloudError reach;
    const QString full = parsed->password ? uri.trimmed() : parsed->uri;
    if (!PgConnection::open(full, reach))
        Terminal::printDiagnostic(QStringLiteral("The database does not answer yet: ") +
                                  reach.message);
    return ExitStatus::Success;
}

ExitStatus CloudCommands::status()
{
    Settings settings;
    settings.registerApplicationDefaults();
    const QString uri = ConfiguredCloud::uri(settings);
    QJsonObject status{{QStringLiteral("configured"), !uri.isEmpty()},
                       {QStringLiteral("uri"), uri.isEmpty() ? QJsonValue() : QJsonValue(uri)},
                       {QStringLiteral("account"), QStringLiteral("notConfigured")},
                       {QStringLiteral("zones"), QJsonArray()},
                       {QStringLiteral("pendingOperations"),
                        int(CloudOperationCache::shared().operations().size())}};
    const std::optional<QString> token =
        settings.stringValue(QStringLiteral("ServerCloudChangeToken"));
    status.insert(QStringLiteral("lastChangeFetched"),
                  token && !token->isEmpty() ? QJsonValue(*token) : QJsonValue());
    if (const std::unique_ptr<CloudDatabase> database = ConfiguredCloud::open(settings)) {
        CloudFailure failure;
        const std::optional<CloudDatabase::AccountStatus> account =
            database->accountStatus(failure);
        if (!account) {
            status.insert(QStringLiteral("account"), failure.isNetworkFailure()
                                                         ? QStringLiteral("unreachable")
                                                         : QStringLiteral("refused"));
            status.insert(QStringLiteral("error"), failure.message);
        } else if (*account == CloudDatabase::AccountStatus::NoAccount) {
            status.insert(QStringLiteral("account"), QStringLiteral("noAccount"));
        } else {
            status.insert(QStringLiteral("account"), QStringLiteral("available"));
            status.insert(
                QStringLiteral("zones"),
                QJsonArray::fromStringList(database->zones(failure).value_or(QStringList())));
        }
    }
    Terminal::printJson(QJsonDocument(status));
    return ExitStatus::Success;
}
