#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "store/RecordedStatement.h"

struct sqlite3;
struct sqlite3_stmt;
class StoreContext;

// One run of a cached prepared statement: bind, step, read columns. The statement is reset
// when the query goes out of scope, so it can serve the next caller.
class SqlQuery {
public:
    SqlQuery(StoreContext& context, const char* sql);
    ~SqlQuery();
    SqlQuery(const SqlQuery&) = delete;
    SqlQuery& operator=(const SqlQuery&) = delete;

    bool ok() const { return m_errorCode == 0; }

    SqlQuery& bind(int index, double value);
    SqlQuery& bind(int index, int value);
    SqlQuery& bind(int index, long long value);
    SqlQuery& bind(int index, const QString& value);
    SqlQuery& bind(int index, const std::optional<QString>& value);
    SqlQuery& bind(int index, const std::optional<QByteArray>& value);
    // The identifier of a row of `table`: a write run again after a failed save follows the
    // row even when it was inserted again under another identifier.
    SqlQuery& bindRow(int index, long long id, const char* table);

    // Steps to the next row; false at the end or on failure (then ok() is false).
    bool next();
    // Runs a statement that returns no rows.
    bool exec();
    // Runs an insert, update or delete inside the operation's write transaction. When the
    // store cannot take it now (locked, full, read-only) it is kept for the next save and
    // this answers false.
    bool execWrite();

    double doubleAt(int column) const;
    int intAt(int column) const;
    long long int64At(int column) const;
    bool isNull(int column) const;
    std::optional<QString> textAt(int column) const;
    std::optional<QByteArray> blobAt(int column) const;

    // The error's message, like an error's localised description.
    QString errorDescription() const;
    // Code and message, like an error's debug description.
    QString debugDescription() const;

private:
    void fail(int code);
    void record(int index, RecordedStatement::Value value);

    StoreContext& m_context;
    RecordedStatement m_recorded;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_owned = false;
    int m_errorCode = 0;
    QString m_errorMessage;
};
