#pragma once

#include <QString>

class SqlQuery;

// The store's diagnostic lines, in the forms its callers and logs know.
namespace StoreLog {

// "Error: " and the failure's debug description.
void error(const SqlQuery& query);
// "err @ <operation> -> <description>".
void failure(const char* operation, const QString& description);
// A fixed prefix and the failure's description, e.g. "Update name error. ".
void prefixed(const char* prefix, const QString& description);

} // namespace StoreLog
