#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "tallycore_export.h"

// One recorded stretch of time spent on a thief.
struct TALLYCORE_EXPORT WorkActivity {
    static QString fetchRequest() { return QStringLiteral("WorkActivity"); }

    std::optional<QString> name;
    std::optional<QString> identifier;
    std::optional<QString> kind;
    double startTime = 0;
    double endTime = 0;
    std::optional<QByteArray> image;
    std::optional<QString> cloudRecordID;
};
