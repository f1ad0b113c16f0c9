#pragma once

#include <optional>

#include <QString>

#include "tallycore_export.h"

// One named, coloured task of the catalogue.
struct TALLYCORE_EXPORT TaskInfo {
    enum class Colors { red, orange, grass, aqua, lavander, pink };

    static QString fetchRequest() { return QStringLiteral("TaskInfo"); }
    static QString rawValue(Colors color);
    // Exact match of the seven-character lower-case text; anything else is no colour.
    static std::optional<Colors> colorFromRawValue(const QString& raw);

    std::optional<QString> name;
    std::optional<QString> color;
    double createdAt = 0;
    std::optional<QString> taskDescription;
    std::optional<QString> cloudRecordID;
};
