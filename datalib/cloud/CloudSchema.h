#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "cloud/CloudError.h"
#include "tallycore_export.h"

class PgConnection;

// The cloud database's schema "zestra", built by numbered upgrade files compiled into the
// library (cloud/schema/0001_initial.sql, ...). Each missing upgrade runs in a transaction
// of its own with its version recorded in zestra.schema_version, so a second run, or one
// beside another, changes nothing.
class TALLYCORE_EXPORT CloudSchema {
public:
    struct Upgrade {
        int version = 0;
        QString script;
    };
    struct Outcome {
        int previousVersion = 0;
        int currentVersion = 0;
    };

    // Version 1 first; absent with `error` when the files are not numbered 1, 2, 3...
    static std::optional<QList<Upgrade>> bundledUpgrades(CloudError& error);

    // Brings the schema to the newest version, as the connected administrator. A database
    // whose schema a newer program wrote is left alone (SchemaNewer).
    static std::optional<Outcome> upgrade(PgConnection& admin, CloudError& error);
    static std::optional<Outcome> upgrade(PgConnection& admin, const QList<Upgrade>& upgrades,
                                          CloudError& error);

    // 0 when the database holds no cloud schema.
    static std::optional<int> installedVersion(PgConnection& connection, CloudError& error);

private:
    // Runs `upgrade` unless the database has it already.
    static bool apply(PgConnection& admin, const Upgrade& upgrade, int newest, CloudError& error);
};
