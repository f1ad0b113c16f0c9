#include "store/SqlQuery.h"

#include <sqlite3.h>

#include "store/StoreContext.h"

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
}

SqlQuery& SqlQuery::bind(int index, double value)
{
    if (m_statement && sqlite3_bind_double(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    return *this;
}

SqlQuery& SqlQuery::bind(int index, int value)
{
    if (m_statement && sqlite3_bind_int(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
    return *this;
}

SqlQuery& SqlQuery::bind(int index, long long value)
{
    if (m_statement && sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
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
    return *this;
}

SqlQuery& SqlQuery::bind(int index, const std::optional<QString>& value)
{
    if (value)
        return bind(index, *value);
    if (m_statement && sqlite3_bind_null(m_statement, index) != SQLITE_OK)
        fail(sqlite3_errcode(m_db));
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
    if (!m_context.beginWrite()) {
        fail(sqlite3_errcode(m_db) ? sqlite3_errcode(m_db) : SQLITE_ERROR);
        return false;
    }
    if (!exec())
        return false;
    if (sqlite3_changes(m_db) > 0)
        m_context.markChanged();
    return true;
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
