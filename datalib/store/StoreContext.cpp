#include "store/StoreContext.h"

#include <cstdlib>

#include <sqlite3.h>

#include "Console.h"
#include "store/StoreFile.h"

StoreContext::Operation::Operation(StoreContext& context)
    : m_context(context)
    , m_lock(context.m_mutex)
{
    if (m_context.m_depth++ == 0)
        m_context.operationStarts();
}

StoreContext::Operation::~Operation()
{
    if (m_context.m_depth == 1)
        m_context.operationEnds();
    --m_context.m_depth;
}

StoreContext::StoreContext(QString path)
    : m_path(std::move(path))
{}

StoreContext::~StoreContext()
{
    for (auto& [sql, cached] : m_statements)
        sqlite3_finalize(cached.statement);
    if (m_database) {
        if (inTransaction())
            sqlite3_exec(m_database, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_database);
    }
}

void StoreContext::operationStarts()
{
    m_writeFailure.reset();
    m_operationError.reset();
}

void StoreContext::operationEnds()
{
    // Whatever the operation left unsaved is saved now, so the write lock goes with it.
    if (inTransaction())
        saveContext();
    m_lastError = m_operationError;
}

bool StoreContext::open(Access access)
{
    std::lock_guard guard(m_mutex);
    if (m_database)
        return true;
    StoreFile::Opened opened =
        access == Access::ReadOnlyWhenUnwritable && !StoreFile::isWritable(m_path)
            ? StoreFile::openReadOnly(m_path)
            : StoreFile::open(m_path);
    if (!opened.database) {
        noteFailure(opened.error);
        m_lastError = opened.error;
        return false;
    }
    m_database = opened.database;
    m_readOnly = opened.readOnly;
    return true;
}

bool StoreContext::isReadOnly()
{
    std::lock_guard guard(m_mutex);
    return m_readOnly;
}

sqlite3* StoreContext::database()
{
    if (!m_database && !open(Access::ReadWrite))
        failToOpen(m_lastError.value_or(QString()));
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

void StoreContext::noteFailure(const QString& message)
{
    std::lock_guard guard(m_mutex);
    if (!m_operationError)
        m_operationError = message;
}

std::optional<QString> StoreContext::lastError()
{
    std::lock_guard guard(m_mutex);
    return m_lastError;
}

void StoreContext::abandonTransaction(int code, const QString& message)
{
    if (inTransaction())
        sqlite3_exec(m_database, "ROLLBACK", nullptr, nullptr, nullptr);
    m_writeFailure = StoreJournal::Failure{code, message};
    noteFailure(message);
}

bool StoreContext::beginWrite()
{
    Operation operation(*this);
    if (inTransaction())
        return true;
    if (m_writeFailure)
        return false;
    sqlite3* db = database();
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        abandonTransaction(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
        return false;
    }
    if (!m_journal.isEmpty()) {
        if (const auto failure = m_journal.replay(db)) {
            abandonTransaction(failure->code, failure->message);
            return false;
        }
    }
    return true;
}

StoreContext::WriteOutcome StoreContext::runWrite(sqlite3_stmt* statement,
                                                  RecordedStatement recorded)
{
    Operation operation(*this);
    if (!beginWrite()) {
        // Kept for the next save, as an unsaved change of the context would be.
        m_journal.append(std::move(recorded));
        return {false, m_writeFailure->code, m_writeFailure->message};
    }
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) {
        if (!recorded.insertTable.empty())
            recorded.rowid = sqlite3_last_insert_rowid(m_database);
        if (sqlite3_changes(m_database) > 0)
            m_journal.append(std::move(recorded));
        return {true, SQLITE_OK, QString()};
    }
    const int code = sqlite3_extended_errcode(m_database);
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_database));
    if (StoreJournal::keepsPending(code)) {
        m_journal.append(std::move(recorded));
        abandonTransaction(code, message);
    } else {
        noteFailure(message);
    }
    return {false, code, message};
}

bool StoreContext::saveContext()
{
    Operation operation(*this);
    if (m_savingOnce)
        return hasChanges();
    if (!inTransaction()) {
        if (m_journal.isEmpty())
            return false;
        // Writes of a failed save: they go out now, or wait once more.
        if (!beginWrite()) {
            Console::line(QStringLiteral("err @ CORE DATA CONTEXT saveContext()"));
            return false;
        }
    }
    if (m_journal.isEmpty()) {
        // Nothing was written: end the transaction quietly, releasing the lock.
        sqlite3_exec(m_database, "COMMIT", nullptr, nullptr, nullptr);
        return false;
    }
    if (sqlite3_exec(m_database, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        abandonTransaction(sqlite3_extended_errcode(m_database),
                           QString::fromUtf8(sqlite3_errmsg(m_database)));
        Console::line(QStringLiteral("err @ CORE DATA CONTEXT saveContext()"));
        return false;
    }
    m_journal.clear();
    if (m_savedHandler)
        m_savedHandler();
    return true;
}

void StoreContext::saveOnce(const std::function<void()>& writes)
{
    Operation operation(*this);
    if (m_savingOnce) {
        writes();
        return;
    }
    m_savingOnce = true;
    writes();
    m_savingOnce = false;
    saveContext();
}

void StoreContext::resetContext()
{
    Operation operation(*this);
    if (inTransaction())
        sqlite3_exec(m_database, "ROLLBACK", nullptr, nullptr, nullptr);
    m_journal.clear();
}
