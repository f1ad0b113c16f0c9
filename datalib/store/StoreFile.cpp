#include "store/StoreFile.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString lastError(sqlite3* database)
{
    return QString::fromUtf8(sqlite3_errmsg(database));
}

bool run(sqlite3* database, const QString& sql, QString* error)
{
    char* message = nullptr;
    if (sqlite3_exec(database, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message ? message : "unknown error");
    sqlite3_free(message);
    return false;
}

std::optional<int> userVersion(sqlite3* database, QString* error)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(database, "PRAGMA user_version", -1, &statement, nullptr) != SQLITE_OK) {
        *error = lastError(database);
        return std::nullopt;
    }
    std::optional<int> version;
    if (sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    else
        *error = lastError(database);
    sqlite3_finalize(statement);
    return version;
}

} // namespace

QStringList StoreFile::bundledMigrations()
{
    QStringList scripts;
    for (int version = 1;; ++version) {
        QFile file(QStringLiteral(":/tallycore/schema/%1.sql").arg(version));
        if (!file.open(QIODevice::ReadOnly))
            break;
        scripts.append(QString::fromUtf8(file.readAll()));
    }
    return scripts;
}

StoreFile::Opened StoreFile::open(const QString& path, const QStringList& migrations)
{
    if (migrations.isEmpty())
        return {nullptr, QStringLiteral("The store's schema is missing from the library.")};
    QDir().mkpath(QFileInfo(path).absolutePath());

    sqlite3* database = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &database, flags, nullptr) !=
        SQLITE_OK) {
        Opened failed{nullptr, lastError(database)};
        sqlite3_close(database);
        return failed;
    }
    auto fail = [database](QString error) {
        sqlite3_close(database);
        return Opened{nullptr, std::move(error)};
    };

    sqlite3_busy_timeout(database, 5000);
    QString error;
    // Read before anything writes: a foreign or newer file must stay untouched.
    const std::optional<int> version = userVersion(database, &error);
    if (!version)
        return fail(error);
    const int latest = static_cast<int>(migrations.size());
    if (*version > latest) {
        return fail(QStringLiteral("The store was written by a newer version of Zestra "
                                   "(schema %1; this version knows up to %2).")
                        .arg(*version)
                        .arg(latest));
    }
    if (*version > 0 && *version < latest && !backUp(database, path, *version, &error))
        return fail(error);

    if (!run(database, QStringLiteral("PRAGMA journal_mode=WAL"), &error) ||
        !run(database, QStringLiteral("PRAGMA foreign_keys=ON"), &error) ||
        // Every commit reaches the disk: a finished pomodoro survives a power cut.
        !run(database, QStringLiteral("PRAGMA synchronous=FULL"), &error))
        return fail(error);
    if (*version < latest && !migrate(database, migrations, &error))
        return fail(error);
    return {database, QString()};
}

bool StoreFile::backUp(sqlite3* database, const QString& path, int version, QString* error)
{
    const QString backupPath = path + QStringLiteral(".v%1.bak").arg(version);
    const QString partialPath = backupPath + QStringLiteral(".partial");
    QFile::remove(partialPath);
    sqlite3* copy = nullptr;
    if (sqlite3_open(QFile::encodeName(partialPath).constData(), &copy) != SQLITE_OK) {
        *error = QStringLiteral("Cannot write the backup %1: %2").arg(backupPath, lastError(copy));
        sqlite3_close(copy);
        return false;
    }
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", database, "main");
    int rc = backup ? sqlite3_backup_step(backup, -1) : sqlite3_errcode(copy);
    if (backup)
        rc = sqlite3_backup_finish(backup) == SQLITE_OK && rc == SQLITE_DONE ? SQLITE_OK : rc;
    const QString copyError = lastError(copy);
    sqlite3_close(copy);
    if (rc != SQLITE_OK) {
        QFile::remove(partialPath);
        *error = QStringLiteral("Cannot write the backup %1: %2").arg(backupPath, copyError);
        return false;
    }
    QFile::remove(backupPath);
    if (!QFile::rename(partialPath, backupPath)) {
        *error = QStringLiteral("Cannot write the backup %1").arg(backupPath);
        return false;
    }
    return true;
}

bool StoreFile::migrate(sqlite3* database, const QStringList& migrations, QString* error)
{
    if (!run(database, QStringLiteral("BEGIN IMMEDIATE"), error))
        return false;
    // Another process may have migrated while this one waited for the write lock.
    const std::optional<int> version = userVersion(database, error);
    bool done = version.has_value();
    for (int next = version.value_or(0) + 1; done && next <= migrations.size(); ++next) {
        done = run(database, migrations.at(next - 1), error) &&
               run(database, QStringLiteral("PRAGMA user_version=%1").arg(next), error);
        if (!done)
            *error = QStringLiteral("Migration to schema %1 failed: %2").arg(next).arg(*error);
    }
    if (done && run(database, QStringLiteral("COMMIT"), error))
        return true;
    QString ignored;
    run(database, QStringLiteral("ROLLBACK"), &ignored);
    return false;
}
