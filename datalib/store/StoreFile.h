#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tallycore_export.h"

struct sqlite3;

// Opens the store file and brings its schema up to date. A file that is not a database, that
// a newer version wrote, or that another program made, is left exactly as it was.
class TALLYCORE_EXPORT StoreFile {
public:
    struct Opened {
        sqlite3* database = nullptr;
        QString error;
        bool readOnly = false;
    };

    // The schema scripts compiled into the library, version 1 first.
    static QStringList bundledMigrations();

    static Opened open(const QString& path, const QStringList& migrations = bundledMigrations());
    // Opens an existing store for reading only: no journal switch, no upgrade, no mark.
    static Opened openReadOnly(const QString& path,
                               const QStringList& migrations = bundledMigrations());
    // Whether the store file (or, while there is none, its folder) can be written here.
    static bool isWritable(const QString& path);

private:
    static bool backUp(sqlite3* database, const QString& path, int version, QString* error);
    // Applies the missing schema versions and the mark in one transaction.
    static bool migrate(sqlite3* database, const QStringList& migrations, QString* error);
};
