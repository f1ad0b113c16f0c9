#pragma once

#include <string>
#include <vector>

#include <QByteArray>

// A write statement as it ran: its SQL and the values bound to it, kept so that a save that
// failed can run it again. Row identifiers are marked with their table, because a row
// inserted again may get another identifier than the one later statements were bound to.
struct RecordedStatement {
    struct Value {
        enum class Kind { Null, Integer, Real, Text, Blob };
        Kind kind = Kind::Null;
        long long integer = 0;
        double real = 0.0;
        QByteArray bytes;
        // The table whose row this integer names, or nullptr for a plain number.
        const char* rowOf = nullptr;
    };

    std::string sql;
    // values[i] is bound to parameter i + 1.
    std::vector<Value> values;
    // For an insert: its table, and the row identifier the last run gave it.
    std::string insertTable;
    long long rowid = 0;

    void set(int index, Value value)
    {
        if (index < 1)
            return;
        if (values.size() < static_cast<size_t>(index))
            values.resize(static_cast<size_t>(index));
        values[static_cast<size_t>(index) - 1] = std::move(value);
    }
};
