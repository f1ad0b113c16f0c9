#include "cloud/CloudUsers.h"

#include <QRandomGenerator>
#include <QUrl>

#include "cloud/CloudSchema.h"
#include "cloud/PgConnection.h"

namespace {

const QString duplicateObject = QStringLiteral("42710");
const QString uniqueViolation = QStringLiteral("23505");

QString encoded(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QString CloudUsers::nameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("a user name cannot be empty");
    // The server would cut a longer name short without saying so.
    if (name.toUtf8().size() > 63)
        return QStringLiteral("a user name has at most 63 bytes");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("a user name cannot hold control characters");
    }
    if (name.startsWith(QLatin1String("pg_")))
        return QStringLiteral("names beginning with pg_ belong to the server");
    return QString();
}

std::optional<CloudUsers::User> CloudUsers::add(PgConnection& admin, const QString& name,
                                                qint64 quotaBytes, CloudError& error)
{
    if (const QString problem = nameProblem(name); !problem.isEmpty()) {
        error = {CloudError::Kind::InvalidName, problem, QString()};
        return std::nullopt;
    }
    const std::optional<int> version = CloudSchema::installedVersion(admin, error);
    if (!version)
        return std::nullopt;
    if (*version == 0) {
        error = {CloudError::Kind::SchemaMissing,
                 QStringLiteral("the database has no cloud schema yet: run zestra-cli cloud init"),
                 QString()};
        return std::nullopt;
    }
    const QString password = generatedPassword();
    const std::optional<QString> role = admin.quotedIdentifier(name, error);
    const std::optional<QString> verifier =
        role ? admin.passwordVerifier(name, password, error) : std::nullopt;
    // CREATE ROLE takes no parameters: the verifier is a hash of our making, quoted.
    const std::optional<QString> literal =
        verifier ? admin.quotedLiteral(*verifier, error) : std::nullopt;
    if (!literal)
        return std::nullopt;

    if (!admin.execute(QStringLiteral("BEGIN"), {}, error))
        return std::nullopt;
    const bool added =
        admin.execute(QStringLiteral("CREATE ROLE ") + *role + QStringLiteral(" LOGIN PASSWORD ") +
                          *literal,
                      {}, error) &&
        admin.execute(QStringLiteral("GRANT zestra_users TO ") + *role, {}, error) &&
        admin.execute(QStringLiteral("INSERT INTO zestra.accounts (owner, quota_bytes) "
                                     "VALUES ($1, $2::bigint)"),
                      {name, QString::number(quotaBytes)}, error) &&
        admin.execute(QStringLiteral("COMMIT"), {}, error);
    if (!added) {
        CloudError ignored;
        admin.execute(QStringLiteral("ROLLBACK"), {}, ignored);
        if (error.sqlState == duplicateObject || error.sqlState == uniqueViolation)
            error = {
                CloudError::Kind::UserExists,
                QStringLiteral("the user \"%1\" exists already; nothing was changed").arg(name),
                error.sqlState};
        return std::nullopt;
    }
    return User{name, uri(admin, name, password), quotaBytes};
}

QString CloudUsers::uri(const PgConnection& server, const QString& user, const QString& password)
{
    const QString host = server.host();
    QStringList query;
    QString authority;
    // A socket folder goes in the query; an IPv6 address in brackets.
    if (host.startsWith(u'/') || host.startsWith(u'@'))
        query.append(QStringLiteral("host=") + encoded(host));
    else if (host.contains(u':'))
        authority = u'[' + host + u']';
    else
        authority = encoded(host);
    if (!server.port().isEmpty()) {
        if (authority.isEmpty())
            query.append(QStringLiteral("port=") + encoded(server.port()));
        else
            authority += u':' + server.port();
    }
    const QString sslMode = server.sslMode();
    if (sslMode == QLatin1String("require") || sslMode == QLatin1String("verify-ca") ||
        sslMode == QLatin1String("verify-full"))
        query.append(QStringLiteral("sslmode=") + sslMode);
    return QStringLiteral("postgresql://") + encoded(user) + u':' + encoded(password) + u'@' +
           authority + u'/' + encoded(server.databaseName()) +
           (query.isEmpty() ? QString() : u'?' + query.join(u'&'));
}

QString CloudUsers::generatedPassword()
{
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString password;
    for (int i = 0; i < 32; ++i)
        password += alphabet.at(QRandomGenerator::system()->bounded(alphabet.size()));
    return password;
}
