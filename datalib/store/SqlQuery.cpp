#include "store/SqlQuery.h"

#include <sqlite3.h>

#include "store/StoreContext.h"

using Kind = RecordedStatement::Value::Kind;

SqlQuery::SqlQuery(StoreContext& context, const char* sql)
    : m_context(context)
    , m_db(context.database())
{
    m_statement = context.acquireStatement(sql, &m_owned);
    if (!m_statement)
        fail(sqlite3_errcode(m_db) ? sqlite3_errcode(m_db) : SQLITE_ERROR);
}

SqlQuery::~SqlQuery()
{
    if (m_statement)
        m_context.releaseStatement(m_statement, m_owned);
}

void SqlQuery::fail(int code)
{
    if (m_errorCode)
        return;
    m_errorCode = code;
    m_errorMessage = QString::fromUtf8(sqlite3_errmsg(m_db));
    m_context.noteFailure(m_errorMessage);
}

void SqlQuery::record(int index, RecordedStatement::Value value)
{
    m_recorded.set(index, std::move(value));
}

SqlQuery& SqlQuery::bind(int index, double value)
{
    if (m_statement && sqlite3_bind_double(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, {Kind::Real, 0, value, {}, nullptr});
    return *this;
}

SqlQuery& SqlQuery::bind(int index, int value)
{
    if (m_statement && sqlite3_bind_int(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, {Kind::Integer, value, 0.0, {}, nullptr});
    return *this;
}

SqlQuery& SqlQuery::bind(int index, long long value)
{
    if (m_statement && sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, {Kind::Integer, value, 0.0, {}, nullptr});
    return *this;
}

SqlQuery& SqlQuery::bindRow(int index, long long id, const char* table)
{
    bind(index, id);
    record(index, {Kind::Integer, id, 0.0, {}, table});
    return *this;
}

SqlQuery& SqlQuery::bind(int index, const QString& value)
{
    if (!m_statement)
        return *this;
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, {Kind::Text, 0, 0.0, utf8, nullptr});
    return *this;
}

SqlQuery& SqlQuery::bind(int index, const std::optional<QString>& value)
{
    if (value)
        return bind(index, *value);
    if (m_statement && sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, {});
    return *this;
}

SqlQuery& SqlQuery::bind(int index, const std::optional<QByteArray>& value)
{
    if (!m_statement)
        return *this;
    const int rc = value ? sqlite3_bind_blob(m_statement, index, value->constData(),
                                             static_cast<int>(value->size()), SQLITE_TRANSIENT)
                         : sqlite3_bind_null(m_statement, index);
    if (rc != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    record(index, value ? RecordedStatement::Value{Kind::Blob, 0, 0.0, *value, nullptr}
                        : RecordedStatement::Value{});
    return *this;
}

bool SqlQuery::next()
{
    if (!ok())
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail(rc);
    return false;
}

bool SqlQuery::exec()
{
    if (!ok())
        return false;
    const int rc = sqlite3_step(m_statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        fail(rc);
        return false;
    }
    return true;
}

bool SqlQuery::execWrite()
{
    if (!ok())
        return false;
    // The statement's own copy of its text: callers may build theirs in a temporary.
    const char* sql = sqlite3_sql(m_statement);
    m_recorded.sql = sql;
    m_recorded.insertTable = StoreJournal::insertTableOf(sql);
    const StoreContext::WriteOutcome outcome =
        m_context.runWrite(m_statement, std::move(m_recorded));
    if (!outcome.done) {
        m_errorCode = outcome.code;
        m_errorMessage = outcome.message;
    }
    return outcome.done;
}

double SqlQuery::doubleAt(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

int SqlQuery::intAt(int column) const
{
    return sqlite3_column_int(m_statement, column);
}

long long SqlQuery::int64At(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

bool SqlQuery::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::optional<QString> SqlQuery::textAt(int column) const
{
    if (isNull(column))
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

std::optional<QByteArray> SqlQuery::blobAt(int column) const
{
    if (isNull(column))
        return std::nullopt;
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    return QByteArray(data, sqlite3_column_bytes(m_statement, column));
}

QString SqlQuery::errorDescription() const
{
    return m_errorMessage;
}

QString SqlQuery::debugDescription() const
{
    return QStringLiteral("Error Domain=SQLite Code=%1 \"%2\"")
        .arg(m_errorCode)
        .arg(m_errorMessage);
}
