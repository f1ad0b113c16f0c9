#pragma once

#include <optional>

#include <QVariantMap>

#include "store/TaskInfoParameter.h"
#include "store/TaskParameter.h"
#include "store/Thief.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

// The structured values a queued cloud operation carries, as plain maps that survive a
// JSON file: dates as seconds since 2001-01-01 UTC (exact doubles), pictures as base64.
// A map that lacks a required value reads back as absent.
class TALLYCORE_EXPORT CloudValues {
public:
    static QVariantMap from(const TaskParameter& task);
    static QVariantMap from(const TaskInfoParameter& taskInfo);
    static QVariantMap from(const Thief& thief);
    static QVariantMap from(const WorkActivity& activity);

    static std::optional<TaskParameter> taskParameter(const QVariantMap& map);
    static std::optional<TaskInfoParameter> taskInfoParameter(const QVariantMap& map);
    static std::optional<Thief> thief(const QVariantMap& map);
    static std::optional<WorkActivity> workActivity(const QVariantMap& map);

    // One value of a map, absent when the key is missing or holds another type (a number
    // written as text is no number).
    static std::optional<QString> text(const QVariantMap& map, const char* key);
    static std::optional<double> number(const QVariantMap& map, const char* key);
};
