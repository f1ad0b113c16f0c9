#pragma once

#include <optional>

#include <QString>

#include "store/Date.h"
#include "tallycore_export.h"

// The values with which a TaskInfo is created or replaced.
struct TALLYCORE_EXPORT TaskInfoParameter {
    // createdAt is the moment of this call, not the moment the task is stored.
    TaskInfoParameter(QString named, QString withColor);
    TaskInfoParameter(QString named, QString withColor, Date createdAt);

    QString name;
    QString color;
    Date createdAt;
    std::optional<QString> taskDescription;
};
