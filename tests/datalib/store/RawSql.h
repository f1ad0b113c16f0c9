#pragma once

#include <QString>

// SQL run on a store file through a connection of the test's own, as another process would,
// always on the real disk (never a fault-injecting file layer the test installed).
class RawSql {
public:
    // The first column of the first row, or -1 when there is none.
    static int queryInt(const QString& path, const char* sql);
    // An empty text when the statements ran, otherwise SQLite's message.
    static QString exec(const QString& path, const char* sql);
};
