#include "CloudCommands.h"

#include "cloud/CloudError.h"
#include "cloud/CloudSchema.h"
#include "cloud/CloudUsers.h"
#include "cloud/PgConnection.h"

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
    Terminal::printError(
        QStringLiteral("cloud: unknown action \"%1\"; it is init or add-user").arg(action));
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
