#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tallycore_export.h"

struct sqlite3;

// Tells Zestra's stores from other SQLite files before anything is written: Zestra marks its
// stores with an application id in the file header. A store of the first release carries no
// mark but exactly Zestra's tables for its schema version.
class TALLYCORE_EXPORT StoreMark {
public:
    // "ZEST"
    static constexpr int applicationId = 0x5A455354;

    enum class Kind {
        // No tables and no mark: a new file, ready to be set up.
        Empty,
        Marked,
        // Zestra's tables for its version, without the mark (the first release).
        Unmarked,
        // Another program's database: never changed.
        Foreign,
    };

    struct Reading {
        Kind kind = Kind::Empty;
        int version = 0;
        // The tables that made a file foreign, for the report.
        QStringList ownTables;
    };

    // Reads the header and the schema; absent with `error` when the file cannot be read.
    static std::optional<Reading> read(sqlite3* database, const QStringList& migrations,
                                       QString* error);

private:
    static std::optional<Reading> readInTransaction(sqlite3* database,
                                                    const QStringList& migrations, QString* error);
};
