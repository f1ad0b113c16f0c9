#include "store/StoreMark.h"

#include <map>

#include <sqlite3.h>

namespace {

using Tables = std::map<QString, QStringList>;

std::optional<int> pragmaInt(sqlite3* database, const char* sql, QString* error)
{
    sqlite3_stmt* statement = nullptr;
    std::optional<int> value;
    if (sqlite3_prepare_v2(database, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int(statement, 0);
    else
        *error = QString::fromUtf8(sqlite3_errmsg(database));
    sqlite3_finalize(statement);
    return value;
}

// Every table of the file with its columns in order, leaving out SQLite's own.
std::optional<Tables> tablesOf(sqlite3* database, QString* error)
{
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT m.name, p.name FROM sqlite_master m, pragma_table_info(m.name) p "
                      "WHERE m.type = 'table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                      "ORDER BY m.name, p.cid";
    if (sqlite3_prepare_v2(database, sql, -1, &statement, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(database));
        return std::nullopt;
    }
    Tables tables;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto text = [statement](int column) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
        };
        tables[text(0)].append(text(1));
    }
    if (rc != SQLITE_DONE)
        *error = QString::fromUtf8(sqlite3_errmsg(database));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        return std::nullopt;
    return tables;
}

// The tables that schema `version` has, built in memory from the migrations.
std::optional<Tables> tablesOfVersion(const QStringList& migrations, int version)
{
    sqlite3* memory = nullptr;
    if (sqlite3_open(":memory:", &memory) != SQLITE_OK) {
        sqlite3_close(memory);
        return std::nullopt;
    }
    bool built = true;
    for (int i = 0; built && i < version; ++i)
        built = sqlite3_exec(memory, migrations.at(i).toUtf8().constData(), nullptr, nullptr,
                             nullptr) == SQLITE_OK;
    QString ignored;
    std::optional<Tables> tables = built ? tablesOf(memory, &ignored) : std::nullopt;
    sqlite3_close(memory);
    return tables;
}

} // namespace

std::optional<StoreMark::Reading> StoreMark::read(sqlite3* database, const QStringList& migrations,
                                                  QString* error)
{
    // One read transaction, so that another process setting the file up meanwhile is seen
    // either not at all or whole.
    const bool ownTransaction = sqlite3_get_autocommit(database) != 0;
    if (ownTransaction && sqlite3_exec(database, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(database));
        return std::nullopt;
    }
    std::optional<Reading> reading = readInTransaction(database, migrations, error);
    if (ownTransaction)
        sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
    return reading;
}

std::optional<StoreMark::Reading>
StoreMark::readInTransaction(sqlite3* database, const QStringList& migrations, QString* error)
{
    const std::optional<int> id = pragmaInt(database, "PRAGMA application_id", error);
    if (!id)
        return std::nullopt;
    const std::optional<int> version = pragmaInt(database, "PRAGMA user_version", error);
    if (!version)
        return std::nullopt;
    Reading reading;
    reading.version = *version;
    // Our own mark is enough; the tables are compared only for a file without it.
    if (*id == applicationId) {
        reading.kind = Kind::Marked;
        return reading;
    }
    const std::optional<Tables> tables = tablesOf(database, error);
    if (!tables)
        return std::nullopt;
    if (*id == 0 && *version == 0 && tables->empty()) {
        reading.kind = Kind::Empty;
        return reading;
    }
    if (*id == 0 && *version >= 1 && *version <= migrations.size() &&
        tablesOfVersion(migrations, *version) == *tables) {
        reading.kind = Kind::Unmarked;
        return reading;
    }
    reading.kind = Kind::Foreign;
    for (const auto& [name, columns] : *tables)
        reading.ownTables.append(name);
    return reading;
}
