#pragma once

#include <memory>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

#include "cloud/CloudError.h"

class PgConnection;

// The throwaway PostgreSQL server of this test program: started once by
// scripts/cloud-dev-server.sh in a temporary folder, stopped when the program ends.
class CloudServer {
public:
    static QString adminUri();
    // The same server and credentials, another database.
    static QString uriForDatabase(const QString& uri, const QString& database);
    // A new empty database of the administrator's, with a name no other test uses.
    static QString freshDatabaseUri();
    // The administrator's database, with the cloud schema in it.
    static QString schemaUri();
    static QString uniqueName(const QString& stem);
    // A new user of the schema's database, with a name made from `stem`: its URI, password
    // included; empty (and a failure recorded) when it could not be added.
    static QString newUserUri(const QString& stem, qint64 quotaBytes = 0);
    // The same server taken down and brought back (same data, same address), for the tests
    // of connections that break.
    static bool stop();
    static bool start();

    // A connection that must open; null (and a failure recorded) otherwise.
    static std::unique_ptr<PgConnection> connect(const QString& uri);
};

// The outcome of one statement as a test sees it.
struct Sql {
    bool ok = false;
    QList<QStringList> rows;
    CloudError error;

    QString value() const { return rows.isEmpty() ? QString() : rows.first().value(0); }
};
Sql sql(PgConnection& connection, const QString& statement, const QStringList& parameters = {});
