#include "store/StoreLog.h"

#include "Console.h"
#include "store/SqlQuery.h"

namespace StoreLog {

void error(const SqlQuery& query)
{
    Console::line(QStringLiteral("Error: ") + query.debugDescription());
}

void failure(const char* operation, const QString& description)
{
    Console::line(QStringLiteral("err @ ") + QLatin1String(operation) + QStringLiteral(" -> ") +
                  description);
}

void prefixed(const char* prefix, const QString& description)
{
    Console::line(QLatin1String(prefix) + description);
}

} // namespace StoreLog
