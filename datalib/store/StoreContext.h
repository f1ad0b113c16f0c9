#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

// The working context of the store: one SQLite connection, one lock, and the unsaved
// changes as an open transaction that saveContext() commits and resetContext() discards.
class StoreContext {
public:
    using Lock = std::unique_lock<std::recursive_mutex>;

    explicit StoreContext(QString path);
    ~StoreContext();
    StoreContext(const StoreContext&) = delete;
    StoreContext& operator=(const StoreContext&) = delete;

    // Every store operation holds this for its whole run.
    Lock lock() { return Lock(m_mutex); }

    QString path() const { return m_path; }
    // Opens the file on first use; a store that cannot open ends the process.
    sqlite3* database();

    sqlite3_stmt* acquireStatement(const char* sql, bool* owned);
    void releaseStatement(sqlite3_stmt* statement, bool owned);

    // Runs after every commit, still under the lock (the Today summary is rewritten there).
    void setSavedHandler(std::function<void()> handler) { m_savedHandler = std::move(handler); }

    bool beginWrite();
    void markChanged() { m_hasChanges = true; }
    bool hasChanges() const { return m_hasChanges; }
    // True when something was committed.
    bool saveContext();
    void resetContext();

private:
    struct CachedStatement {
        sqlite3_stmt* statement = nullptr;
        bool inUse = false;
    };

    [[noreturn]] void failToOpen(const QString& error);
    bool inTransaction() const;
    bool execute(const char* sql);

    const QString m_path;
    std::recursive_mutex m_mutex;
    sqlite3* m_database = nullptr;
    std::unordered_map<std::string, CachedStatement> m_statements;
    bool m_hasChanges = false;
    std::function<void()> m_savedHandler;
};
