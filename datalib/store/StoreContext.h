#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include <QString>

#include "store/RecordedStatement.h"
#include "store/StoreJournal.h"

struct sqlite3;
struct sqlite3_stmt;

// The working context of the store: one SQLite connection, one lock, and the unsaved writes.
// A store operation works inside one short write transaction at most, which ends with the
// operation: SQLite's write lock is never held from one operation to the next, so another
// process can always write. The writes of a save that failed are kept and run again by the
// next save.
class StoreContext {
public:
    enum class Access {
        ReadWrite,
        // Reads a store whose folder or file cannot be written, without changing it.
        ReadOnlyWhenUnwritable,
    };

    // Held for the whole of every store operation. When the outermost one ends, a write
    // transaction it left open is saved.
    class Operation {
    public:
        explicit Operation(StoreContext& context);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        StoreContext& m_context;
        std::unique_lock<std::recursive_mutex> m_lock;
    };

    struct WriteOutcome {
        bool done = false;
        int code = 0;
        QString message;
    };

    explicit StoreContext(QString path);
    ~StoreContext();
    StoreContext(const StoreContext&) = delete;
    StoreContext& operator=(const StoreContext&) = delete;

    Operation lock() { return Operation(*this); }

    QString path() const { return m_path; }
    // Opens the file now; false (with lastError()) when it cannot, and the process goes on.
    bool open(Access access);
    bool isReadOnly();
    // Opens the file on first use; a store that cannot open ends the process.
    sqlite3* database();

    sqlite3_stmt* acquireStatement(const char* sql, bool* owned);
    void releaseStatement(sqlite3_stmt* statement, bool owned);

    // Runs after every commit, still under the lock (the Today summary is rewritten there).
    void setSavedHandler(std::function<void()> handler) { m_savedHandler = std::move(handler); }

    // Opens the operation's write transaction (BEGIN IMMEDIATE), so that what it reads next
    // cannot change under it; writes still waiting from a failed save go in first.
    bool beginWrite();
    // Runs a prepared insert, update or delete in the write transaction and records it.
    WriteOutcome runWrite(sqlite3_stmt* statement, RecordedStatement recorded);
    bool hasChanges() const { return !m_journal.isEmpty(); }
    // True when something was committed (inside saveOnce: when something waits for its end).
    bool saveContext();
    // Runs `writes` as one operation whose saves are made once, at its end: many small writes
    // cost one commit and one rewrite of the Today summary instead of one each.
    void saveOnce(const std::function<void()>& writes);
    void resetContext();

    void noteFailure(const QString& message);
    // The failure of the last operation that ended, absent when it went well.
    std::optional<QString> lastError();

private:
    struct CachedStatement {
        sqlite3_stmt* statement = nullptr;
        bool inUse = false;
    };

    void operationStarts();
    void operationEnds();
    [[noreturn]] void failToOpen(const QString& error);
    bool inTransaction() const;
    // Gives up the write transaction after a failure that may pass; its writes stay pending.
    void abandonTransaction(int code, const QString& message);

    const QString m_path;
    std::recursive_mutex m_mutex;
    int m_depth = 0;
    sqlite3* m_database = nullptr;
    bool m_readOnly = false;
    std::unordered_map<std::string, CachedStatement> m_statements;
    StoreJournal m_journal;
    // Set when this operation could not write; it does not wait for the lock a second time.
    std::optional<StoreJournal::Failure> m_writeFailure;
    std::optional<QString> m_operationError;
    std::optional<QString> m_lastError;
    std::function<void()> m_savedHandler;
    bool m_savingOnce = false;
};
