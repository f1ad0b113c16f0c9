#include "datalib/store/RawSql.h"

#include <QFile>

#include <sqlite3.h>

namespace {

sqlite3* openOnDisk(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "unix");
    sqlite3_busy_timeout(db, 5000);
    return db;
}

} // namespace

int RawSql::queryInt(const QString& path, const char* sql)
{
    sqlite3* db = openOnDisk(path);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    const int value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

QString RawSql::exec(const QString& path, const char* sql)
{
    sqlite3* db = openOnDisk(path);
    const QString error = sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK
                              ? QString()
                              : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return error;
}
