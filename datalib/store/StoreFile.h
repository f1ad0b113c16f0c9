#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tallycore_export.h"

struct sqlite3;

// Opens the store file and brings its schema up to date. A file that is not a database, or
// that a newer version wrote, is left exactly as it was.
class TALLYCORE_EXPORT StoreFile {
public:
    struct Opened {
        sqlite3* database = nullptr;
        QString error;
    };

    // The schema scripts compiled into the library, version 1 first.
    static QStringList bundledMigrations();

    static Opened open(const QString& path, const QStringList& migrations = bundledMigrations());

private:
    static bool backUp(sqlite3* database, const QString& path, int version, QString* error);
    static bool migrate(sqlite3* database, const QStringList& migrations, QString* error);
};
