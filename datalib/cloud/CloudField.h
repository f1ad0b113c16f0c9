#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include "tallycore_export.h"

// One typed value of a cloud record. Booleans travel as 0 or 1 int64 values; a date is
// seconds since 2001-01-01 UTC, kept as the exact double.
struct TALLYCORE_EXPORT CloudField {
    enum class Type { String, Int64, Double, Date, Reference, Asset };

    Type type = Type::String;
    QString text;
    std::int64_t integer = 0;
    double number = 0;
    // The target's zone, for a reference.
    QString zone;
    QByteArray bytes;

    static CloudField string(const QString& value) { return {Type::String, value, 0, 0, {}, {}}; }
    static CloudField int64(std::int64_t value) { return {Type::Int64, {}, value, 0, {}, {}}; }
    static CloudField boolean(bool value) { return int64(value ? 1 : 0); }
    static CloudField real(double value) { return {Type::Double, {}, 0, value, {}, {}}; }
    static CloudField date(double seconds) { return {Type::Date, {}, 0, seconds, {}, {}}; }
    static CloudField reference(const QString& recordName, const QString& zoneName)
    {
        return {Type::Reference, recordName, 0, 0, zoneName, {}};
    }
    static CloudField asset(const QByteArray& data) { return {Type::Asset, {}, 0, 0, {}, data}; }

    bool operator==(const CloudField&) const = default;
};
