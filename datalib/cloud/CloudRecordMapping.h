#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QStringList>

#include "cloud/CloudOperation.h"
#include "cloud/CloudRecord.h"
#include "store/TaskInfoParameter.h"
#include "store/TaskParameter.h"
#include "store/Thief.h"
#include "store/WorkActivity.h"
#include "tallycore_export.h"

// How each kind of local object travels as a cloud record: its record type, its zone, its
// fields, and the natural key that matches a saved record back to its object. Builders make
// new records (the server names them on their first save); readers give the values of a
// received record, or nothing when it lacks a required field.
class TALLYCORE_EXPORT CloudRecordMapping {
public:
    // A finished session or a reached goal: a moment and a number of tasks.
    struct Moment {
        double at = 0;
        std::int64_t tasksCount = 0;
    };

    static QString recordType(CloudOperation::Record record);
    static QString zoneName(CloudOperation::Record record);
    // In the order they are created.
    static QStringList zoneNames();
    static std::optional<CloudOperation::Record> recordOfType(const QString& recordType);
    static std::optional<CloudOperation::Record> recordOfZone(const QString& zoneName);
    // The field of a saved record of the zone that names its local object.
    static std::optional<QString> naturalKeyField(const QString& zoneName);
    // That field's value in a saved record; absent for another zone or a record without it.
    static std::optional<CloudField> naturalKey(const CloudRecord& record);
    // The same for every create of the record with this zone and natural key, so the server
    // can tell a create sent again from a new record; absent without a natural key.
    static std::optional<QString> creationKey(const CloudRecord& record);

    static CloudRecord taskInfoRecord(const TaskInfoParameter& taskInfo);
    static CloudRecord taskRecord(const TaskParameter& task,
                                  const std::optional<QString>& taskInfoRecordName);
    // The reference goes to the first of the batch's TaskInfo records named as the task; a task
    // without a name gets none.
    static CloudRecord batchTaskRecord(const TaskParameter& task,
                                       const QList<CloudRecord>& taskInfos);
    static CloudRecord sessionRecord(double finishedAt, std::int64_t tasksCount);
    static CloudRecord goalRecord(double achieveAt, std::int64_t tasksCount);
    static CloudRecord thiefRecord(const Thief& thief);
    // The image goes as given: the caller, which has the image codecs, makes the thumbnail.
    static CloudRecord workActivityRecord(const WorkActivity& activity);

    static std::optional<TaskInfoParameter> taskInfoParameter(const CloudRecord& record);
    static std::optional<TaskParameter> taskParameter(const CloudRecord& record);
    // The TaskInfo record a "Task" record points at.
    static std::optional<QString> taskInfoReference(const CloudRecord& record);
    static std::optional<Moment> session(const CloudRecord& record);
    static std::optional<Moment> goal(const CloudRecord& record);
    // With the record name as cloudRecordID.
    static std::optional<Thief> thief(const CloudRecord& record);
    static std::optional<WorkActivity> workActivity(const CloudRecord& record);
};
