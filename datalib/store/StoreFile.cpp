#include "store/StoreFile.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "store/StoreMark.h"

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

// The switch needs the file to itself, and SQLite does not wait for that: another process
// opening a new store at the same moment makes it fail for a moment.
bool switchToWriteAhead(sqlite3* database, QString* error)
{
    for (int attempt = 0;; ++attempt) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(database, "PRAGMA journal_mode=WAL", -1, &statement, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
        const bool switched =
            rc == SQLITE_ROW &&
            qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "wal") == 0;
        sqlite3_finalize(statement);
        if (switched)
            return true;
        // Busy, or left in the old mode: someone else has the file just now.
        const bool mayPass =
            rc == SQLITE_ROW || (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
        if (!mayPass || attempt >= 500) {
            *error = mayPass ? QStringLiteral("The store cannot switch to a write-ahead log.")
                             : lastError(database);
            return false;
        }
        sqlite3_sleep(10);
    }
}

// Why the file must not be opened as a store, or nothing when it may.
QString refusalOf(const StoreMark::Reading& mark, const QStringList& migrations)
{
    if (mark.kind == StoreMark::Kind::Foreign)
        return QStringLiteral("The file is not a Zestra store (it holds tables of its own: %1); "
                              "it is left as it was.")
            .arg(mark.ownTables.join(QStringLiteral(", ")));
    const int latest = static_cast<int>(migrations.size());
    if (mark.version > latest)
        return QStringLiteral("The store was written by a newer version of Zestra "
                              "(schema %1; this version knows up to %2).")
            .arg(mark.version)
            .arg(latest);
    return QString();
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
        return {nullptr, QStringLiteral("The store's schema is missing from the library."), false};
    QDir().mkpath(QFileInfo(path).absolutePath());

    sqlite3* database = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &database, flags, nullptr) !=
        SQLITE_OK) {
        Opened failed{nullptr, lastError(database), false};
        sqlite3_close(database);
        return failed;
    }
    auto fail = [database](QString error) {
        sqlite3_close(database);
        return Opened{nullptr, std::move(error), false};
    };

    sqlite3_busy_timeout(database, 5000);
    QString error;
    // Read before anything writes: a foreign or newer file must stay untouched.
    const std::optional<StoreMark::Reading> mark = StoreMark::read(database, migrations, &error);
    if (!mark)
        return fail(error);
    if (const QString refusal = refusalOf(*mark, migrations); !refusal.isEmpty())
        return fail(refusal);
    if (sqlite3_db_readonly(database, "main") == 1)
        return fail(QStringLiteral("The store file cannot be written."));
    const int latest = static_cast<int>(migrations.size());
    if (mark->version > 0 && mark->version < latest &&
        !backUp(database, path, mark->version, &error))
        return fail(error);

    if (!switchToWriteAhead(database, &error) ||
        !run(database, QStringLiteral("PRAGMA foreign_keys=ON"), &error) ||
        // Every commit reaches the disk: a finished pomodoro survives a power cut.
        !run(database, QStringLiteral("PRAGMA synchronous=FULL"), &error))
        return fail(error);
    if ((mark->kind != StoreMark::Kind::Marked || mark->version < latest) &&
        !migrate(database, migrations, &error))
        return fail(error);
    return {database, QString(), false};
}

StoreFile::Opened StoreFile::openReadOnly(const QString& path, const QStringList& migrations)
{
    if (!QFileInfo(path).isFile())
        return {nullptr, QStringLiteral("There is no store yet, and none can be made here."),
                false};
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    const auto openWith = [&](const QByteArray& name, QString* error) -> sqlite3* {
        sqlite3* database = nullptr;
        if (sqlite3_open_v2(name.constData(), &database, flags, nullptr) == SQLITE_OK) {
            sqlite3_busy_timeout(database, 5000);
            return database;
        }
        *error = lastError(database);
        sqlite3_close(database);
        return nullptr;
    };

    QString error;
    sqlite3* database = openWith(QFile::encodeName(path), &error);
    std::optional<StoreMark::Reading> mark;
    if (database)
        mark = StoreMark::read(database, migrations, &error);
    const QFileInfo wal(path + QStringLiteral("-wal"));
    if (!mark && (!wal.exists() || wal.size() == 0)) {
        // A store in write-ahead mode needs its shared-memory file, which cannot be made here.
        // With no log beside it, the file alone holds every committed change.
        sqlite3_close(database);
        const QByteArray uri =
            QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        database = openWith(uri, &error);
        if (database)
            mark = StoreMark::read(database, migrations, &error);
    }
    auto fail = [&database](QString error) {
        sqlite3_close(database);
        return Opened{nullptr, std::move(error), false};
    };
    if (!mark)
        return fail(error);
    if (const QString refusal = refusalOf(*mark, migrations); !refusal.isEmpty())
        return fail(refusal);
    if (mark->kind == StoreMark::Kind::Empty || mark->version < migrations.size())
        return fail(QStringLiteral("The store has to be set up or upgraded, and it cannot be "
                                   "written here."));
    return {database, QString(), true};
}

bool StoreFile::isWritable(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists())
        return ::access(QFile::encodeName(path).constData(), W_OK) == 0 &&
               ::access(QFile::encodeName(file.absolutePath()).constData(), W_OK) == 0;
    // The nearest folder that exists is where the store (and its folder) would be made.
    QDir folder = file.absoluteDir();
    while (!folder.exists() && folder.cdUp()) {
    }
    return ::access(QFile::encodeName(folder.absolutePath()).constData(), W_OK) == 0;
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
    // Another process may have set the file up while this one waited for the write lock.
    const std::optional<StoreMark::Reading> mark = StoreMark::read(database, migrations, error);
    bool done = mark.has_value();
    if (done) {
        const QString refusal = refusalOf(*mark, migrations);
        if (!refusal.isEmpty()) {
            *error = refusal;
            done = false;
        }
    }
    for (int next = done ? mark->version + 1 : 1; done && next <= migrations.size(); ++next) {
        done = run(database, migrations.at(next - 1), error) &&
               run(database, QStringLiteral("PRAGMA user_version=%1").arg(next), error);
        if (!done)
            *error = QStringLiteral("Migration to schema %1 failed: %2").arg(next).arg(*error);
    }
    done = done &&
           run(database, QStringLiteral("PRAGMA application_id=%1").arg(StoreMark::applicationId),
               error);
    if (done && run(database, QStringLiteral("COMMIT"), error))
        return true;
    QString ignored;
    run(database, QStringLiteral("ROLLBACK"), &ignored);
    return false;
}
