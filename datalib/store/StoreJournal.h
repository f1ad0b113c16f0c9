#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "store/RecordedStatement.h"

struct sqlite3;

// The writes of the working context that are not yet on disk: those of the open transaction,
// and those of a save that failed, which stay here until a save stores them.
class StoreJournal {
public:
    struct Failure {
        int code = 0;
        QString message;
    };

    bool isEmpty() const { return m_entries.empty(); }
    size_t size() const { return m_entries.size(); }
    void append(RecordedStatement statement) { m_entries.push_back(std::move(statement)); }
    void clear() { m_entries.clear(); }

    // Runs every recorded write again inside the caller's open transaction. A write the store
    // now refuses (a broken constraint) is dropped with a log line, and so is any later write
    // that names a row it inserted. On a failure that may pass, the journal is left as it was.
    std::optional<Failure> replay(sqlite3* database);

    // A full disk, a lock, an I/O error may pass, so the writes wait for the next save; a
    // broken constraint or a wrong statement never will.
    static bool keepsPending(int code);
    // "Pomodoro" for "INSERT INTO Pomodoro (...", empty for any other statement.
    static std::string insertTableOf(const char* sql);

private:
    static int run(sqlite3* database, const RecordedStatement& statement, QString* message);

    std::vector<RecordedStatement> m_entries;
};
