#include "store/StoreContext.h"

#include <cstdlib>

#include <sqlite3.h>

#include "Console.h"
#include "store/StoreFile.h"

StoreContext::StoreContext(QString path)
    : m_path(std::move(path))
{}

StoreContext::~StoreContext()
{
    for (auto& [sql, cached] : m_statements)
        sqlite3_finalize(cached.statement);
    if (m_database) {
        // Unsaved changes die with the context, as they would with a discarded one.
        if (inTransaction())
            execute("ROLLBACK");
        sqlite3_close(m_database);
    }
}

sqlite3* StoreContext::database()
{
    if (!m_database) {
        StoreFile::Opened opened = StoreFile::open(m_path);
        if (!opened.database)
            failToOpen(opened.error);
        m_database = opened.database;
    }
    return m_database;
}

void StoreContext::failToOpen(const QString& error)
{
    const QString description = QStringLiteral("Failed to initialize the application's saved data");
    const QString reason =
        QStringLiteral("There was an error creating or loading the application's saved data.");
    Console::line(
        QStringLiteral("Unresolved error Error Domain=YOUR_ERROR_DOMAIN Code=9999 \"%1\", "
                       "{NSLocalizedDescription=%1, NSLocalizedFailureReason=%2, "
                       "NSUnderlyingError=%3 (%4)}")
            .arg(description, reason, error, m_path));
    // The application cannot run without its store.
    std::_Exit(EXIT_FAILURE);
}

sqlite3_stmt* StoreContext::acquireStatement(const char* sql, bool* owned)
{
    sqlite3* db = database();
    CachedStatement& cached = m_statements[sql];
    *owned = cached.inUse;
    if (!cached.inUse && cached.statement) {
        cached.inUse = true;
        return cached.statement;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, cached.inUse ? 0 : SQLITE_PREPARE_PERSISTENT, &statement,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    if (!cached.inUse) {
        cached.statement = statement;
        cached.inUse = true;
    }
    return statement;
}

void StoreContext::releaseStatement(sqlite3_stmt* statement, bool owned)
{
    if (owned) {
        sqlite3_finalize(statement);
        return;
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (auto& [sql, cached] : m_statements) {
        if (cached.statement == statement) {
            cached.inUse = false;
            break;
        }
    }
}

bool StoreContext::inTransaction() const
{
    return m_database && !sqlite3_get_autocommit(m_database);
}

bool StoreContext::execute(const char* sql)
{
    return sqlite3_exec(database(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool StoreContext::beginWrite()
{
    return inTransaction() || execute("BEGIN IMMEDIATE");
}

bool StoreContext::saveContext()
{
    if (!m_hasChanges) {
        // A write that failed may have opened the transaction; release its lock quietly.
        if (inTransaction())
            execute("COMMIT");
        return false;
    }
    if (!execute("COMMIT")) {
        if (!inTransaction()) {
            // SQLite gave up the transaction itself (disk full, I/O error): nothing is pending.
            m_hasChanges = false;
        }
        Console::line(QStringLiteral("err @ CORE DATA CONTEXT saveContext()"));
        return false;
    }
    m_hasChanges = false;
    if (m_savedHandler)
        m_savedHandler();
    return true;
}

void StoreContext::resetContext()
{
    if (inTransaction())
        execute("ROLLBACK");
    m_hasChanges = false;
}
