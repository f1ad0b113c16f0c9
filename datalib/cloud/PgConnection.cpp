#include "cloud/PgConnection.h"

#include <vector>

#include <libpq-fe.h>

namespace {

// libpq would print the server's notices ("schema already exists") on standard error.
void ignoreNotice(void*, const char*) {}

// One line, for a message libpq spreads over several.
QString oneLine(const char* message)
{
    return QString::fromUtf8(message ? message : "").simplified();
}

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

} // namespace

std::unique_ptr<PgConnection> PgConnection::open(const QString& uri, CloudError& error)
{
    return open(uri, std::nullopt, error);
}

std::unique_ptr<PgConnection>
PgConnection::open(const QString& uri, const std::optional<QString>& password, CloudError& error)
{
    const QByteArray text = uri.toUtf8();
    char* parseError = nullptr;
    PQconninfoOption* options = PQconninfoParse(text.constData(), &parseError);
    if (!options) {
        error = {CloudError::Kind::InvalidUri,
                 QStringLiteral("not a PostgreSQL connection URI: ") +
                     (parseError ? oneLine(parseError) : QStringLiteral("out of memory")),
                 QString()};
        PQfreemem(parseError);
        return nullptr;
    }
    PQconninfoFree(options);

    // Every option of the URI counts (expand_dbname): it overrides the keywords before it (a
    // server that does not answer is given up after a while) and not the password after it.
    const QByteArray secret = password ? password->toUtf8() : QByteArray();
    const char* keywords[] = {"connect_timeout", "dbname", password ? "password" : nullptr,
                              nullptr};
    const char* values[] = {"15", text.constData(), password ? secret.constData() : nullptr,
                            nullptr};
    PGconn* connection = PQconnectdbParams(keywords, values, 1);
    if (!connection || PQstatus(connection) != CONNECTION_OK) {
        error = {CloudError::Kind::Unreachable,
                 QStringLiteral("cannot connect to the server: ") +
                     (connection ? oneLine(PQerrorMessage(connection))
                                 : QStringLiteral("out of memory")),
                 QString()};
        PQfinish(connection);
        return nullptr;
    }
    PQsetNoticeProcessor(connection, &ignoreNotice, nullptr);
    return std::unique_ptr<PgConnection>(new PgConnection(connection));
}

PgConnection::PgConnection(pg_conn* connection)
    : m_connection(connection)
{}

PgConnection::~PgConnection()
{
    PQfinish(m_connection);
}

CloudError PgConnection::failure(const QString& what) const
{
    if (PQstatus(m_connection) != CONNECTION_OK)
        return {CloudError::Kind::Unreachable,
                QStringLiteral("the connection to the server broke: ") +
                    oneLine(PQerrorMessage(m_connection)),
                QString()};
    return {CloudError::Kind::Refused, what, QString()};
}

std::optional<QList<QStringList>>
PgConnection::query(const QString& sql, const QStringList& parameters, CloudError& error)
{
    std::vector<QByteArray> values;
    values.reserve(parameters.size());
    std::vector<const char*> pointers;
    for (const QString& parameter : parameters) {
        values.push_back(parameter.toUtf8());
        pointers.push_back(values.back().constData());
    }
    const Result result(PQexecParams(m_connection, sql.toUtf8().constData(),
                                     static_cast<int>(pointers.size()), nullptr, pointers.data(),
                                     nullptr, nullptr, 0));
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        error = failure(oneLine(result ? PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY)
                                       : PQerrorMessage(m_connection)));
        if (result)
            error.sqlState =
                QString::fromLatin1(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE));
        return std::nullopt;
    }
    QList<QStringList> rows;
    const int columns = PQnfields(result.get());
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column)
            cells.append(QString::fromUtf8(PQgetvalue(result.get(), row, column)));
        rows.append(cells);
    }
    return rows;
}

bool PgConnection::execute(const QString& sql, const QStringList& parameters, CloudError& error)
{
    return query(sql, parameters, error).has_value();
}

bool PgConnection::executeScript(const QString& sql, CloudError& error)
{
    const Result result(PQexec(m_connection, sql.toUtf8().constData()));
    if (result && PQresultStatus(result.get()) == PGRES_COMMAND_OK)
        return true;
    if (result && PQresultStatus(result.get()) == PGRES_TUPLES_OK)
        return true;
    error = failure(oneLine(result ? PQresultErrorField(result.get(), PG_DIAG_MESSAGE_PRIMARY)
                                   : PQerrorMessage(m_connection)));
    if (result)
        error.sqlState = QString::fromLatin1(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE));
    return false;
}

std::optional<QString> PgConnection::quotedIdentifier(const QString& name, CloudError& error) const
{
    const QByteArray text = name.toUtf8();
    char* quoted = PQescapeIdentifier(m_connection, text.constData(), text.size());
    if (!quoted) {
        error = {CloudError::Kind::InvalidName,
                 QStringLiteral("cannot quote the name: ") + oneLine(PQerrorMessage(m_connection)),
                 QString()};
        return std::nullopt;
    }
    const QString result = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return result;
}

std::optional<QString> PgConnection::quotedLiteral(const QString& text, CloudError& error) const
{
    const QByteArray bytes = text.toUtf8();
    char* quoted = PQescapeLiteral(m_connection, bytes.constData(), bytes.size());
    if (!quoted) {
        error = {CloudError::Kind::Refused,
                 QStringLiteral("cannot quote a value: ") + oneLine(PQerrorMessage(m_connection)),
                 QString()};
        return std::nullopt;
    }
    const QString result = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return result;
}

std::optional<QString> PgConnection::passwordVerifier(const QString& role, const QString& password,
                                                      CloudError& error) const
{
    char* verifier = PQencryptPasswordConn(m_connection, password.toUtf8().constData(),
                                           role.toUtf8().constData(), nullptr);
    if (!verifier) {
        error = failure(QStringLiteral("cannot hash the password: ") +
                        oneLine(PQerrorMessage(m_connection)));
        return std::nullopt;
    }
    const QString result = QString::fromUtf8(verifier);
    PQfreemem(verifier);
    return result;
}

QString PgConnection::host() const
{
    return QString::fromUtf8(PQhost(m_connection));
}

QString PgConnection::port() const
{
    return QString::fromUtf8(PQport(m_connection));
}

QString PgConnection::databaseName() const
{
    return QString::fromUtf8(PQdb(m_connection));
}

QString PgConnection::sslMode() const
{
    QString mode;
    PQconninfoOption* options = PQconninfo(m_connection);
    for (PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (qstrcmp(option->keyword, "sslmode") == 0 && option->val)
            mode = QString::fromUtf8(option->val);
    }
    PQconninfoFree(options);
    return mode;
}
