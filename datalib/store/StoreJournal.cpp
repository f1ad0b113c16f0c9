#include "store/StoreJournal.h"

#include <cstring>
#include <map>
#include <utility>

#include <sqlite3.h>

#include "store/StoreLog.h"

bool StoreJournal::keepsPending(int code)
{
    switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
    case SQLITE_ERROR:
    case SQLITE_MISUSE:
        return false;
    default:
        return true;
    }
}

std::string StoreJournal::insertTableOf(const char* sql)
{
    static constexpr const char prefix[] = "INSERT INTO ";
    if (std::strncmp(sql, prefix, sizeof(prefix) - 1) != 0)
        return {};
    const char* name = sql + sizeof(prefix) - 1;
    return std::string(name, std::strcspn(name, " ("));
}

int StoreJournal::run(sqlite3* database, const RecordedStatement& statement, QString* message)
{
    sqlite3_stmt* prepared = nullptr;
    int rc = sqlite3_prepare_v2(database, statement.sql.c_str(), -1, &prepared, nullptr);
    for (size_t i = 0; rc == SQLITE_OK && i < statement.values.size(); ++i) {
        const RecordedStatement::Value& value = statement.values[i];
        const int index = static_cast<int>(i) + 1;
        const int size = static_cast<int>(value.bytes.size());
        switch (value.kind) {
        case RecordedStatement::Value::Kind::Null:
            rc = sqlite3_bind_null(prepared, index);
            break;
        case RecordedStatement::Value::Kind::Integer:
            rc = sqlite3_bind_int64(prepared, index, value.integer);
            break;
        case RecordedStatement::Value::Kind::Real:
            rc = sqlite3_bind_double(prepared, index, value.real);
            break;
        case RecordedStatement::Value::Kind::Text:
            rc =
                sqlite3_bind_text(prepared, index, value.bytes.constData(), size, SQLITE_TRANSIENT);
            break;
        case RecordedStatement::Value::Kind::Blob:
            rc =
                sqlite3_bind_blob(prepared, index, value.bytes.constData(), size, SQLITE_TRANSIENT);
            break;
        }
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(prepared);
        if (rc == SQLITE_DONE || rc == SQLITE_ROW)
            rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
        rc = sqlite3_extended_errcode(database);
        *message = QString::fromUtf8(sqlite3_errmsg(database));
    }
    sqlite3_finalize(prepared);
    return rc;
}

std::optional<StoreJournal::Failure> StoreJournal::replay(sqlite3* database)
{
    std::vector<RecordedStatement> replayed;
    replayed.reserve(m_entries.size());
    // (table, identifier of the last run) -> identifier now; -1 when that row is gone.
    std::map<std::pair<std::string, long long>, long long> moved;
    for (RecordedStatement entry : m_entries) {
        bool orphan = false;
        for (RecordedStatement::Value& value : entry.values) {
            if (!value.rowOf)
                continue;
            const auto found = moved.find({value.rowOf, value.integer});
            if (found == moved.end())
                continue;
            if (found->second < 0)
                orphan = true;
            else
                value.integer = found->second;
        }
        if (orphan) {
            StoreLog::failure("saveContext()",
                              QStringLiteral("dropped a change to a row the store refused"));
            continue;
        }
        QString message;
        const int rc = run(database, entry, &message);
        if (rc == SQLITE_OK) {
            if (!entry.insertTable.empty()) {
                const long long now = sqlite3_last_insert_rowid(database);
                if (entry.rowid != 0 && entry.rowid != now)
                    moved[{entry.insertTable, entry.rowid}] = now;
                entry.rowid = now;
            }
            replayed.push_back(std::move(entry));
            continue;
        }
        if (keepsPending(rc))
            return Failure{rc, message};
        StoreLog::failure("saveContext()",
                          QStringLiteral("dropped a change the store refuses: ") + message);
        if (!entry.insertTable.empty() && entry.rowid != 0)
            moved[{entry.insertTable, entry.rowid}] = -1;
    }
    m_entries = std::move(replayed);
    return std::nullopt;
}
