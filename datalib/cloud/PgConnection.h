#pragma once

#include <memory>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "cloud/CloudError.h"
#include "tallycore_export.h"

struct pg_conn;

// One libpq connection, closed when the object goes. Values travel only as parameters of
// prepared statements; text of our own (the upgrade files) may run as a script.
class TALLYCORE_EXPORT PgConnection {
public:
    // Absent, with `error` saying why, for a string libpq cannot read (InvalidUri) or a
    // server it cannot reach or log in to (Unreachable).
    static std::unique_ptr<PgConnection> open(const QString& uri, CloudError& error);
    // The same with a password kept apart from the URI, which it supplies or overrides.
    static std::unique_ptr<PgConnection>
    open(const QString& uri, const std::optional<QString>& password, CloudError& error);

    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // The rows of a statement as text (an SQL NULL reads as an empty string); absent on error.
    std::optional<QList<QStringList>> query(const QString& sql, const QStringList& parameters,
                                            CloudError& error);
    bool execute(const QString& sql, const QStringList& parameters, CloudError& error);
    // Several statements of text that holds no outside value.
    bool executeScript(const QString& sql, CloudError& error);

    // `name` quoted as an SQL identifier, whatever it holds.
    std::optional<QString> quotedIdentifier(const QString& name, CloudError& error) const;
    std::optional<QString> quotedLiteral(const QString& text, CloudError& error) const;
    // The hash the server stores for a role's password, made here so that the password
    // itself never reaches the server or its logs.
    std::optional<QString> passwordVerifier(const QString& role, const QString& password,
                                            CloudError& error) const;

    // Where the connection went: a host name, an address or a socket folder.
    QString host() const;
    QString port() const;
    QString databaseName() const;
    QString sslMode() const;

    pg_conn* handle() const { return m_connection; }

private:
    explicit PgConnection(pg_conn* connection);
    CloudError failure(const QString& what) const;

    pg_conn* m_connection;
};
