#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "cloud/CloudOperation.h"
#include "cloud/CloudRecord.h"
#include "tallycore_export.h"

class DataController;

// What the local store holds for a cloud record: the rows with the record's natural key
// (start time, moment, task name, thief identifier) and the record names they carry.
class TALLYCORE_EXPORT CloudLocalRows {
public:
    // The record name of each row with that key (absent for a row never saved to the
    // cloud); absent when the store could not be read.
    using Names = std::optional<QList<std::optional<QString>>>;

    explicit CloudLocalRows(DataController& store);

    // For the kinds keyed by a moment: task, session, goal, work activity.
    Names namesAt(CloudOperation::Record kind, double moment);
    // For the kinds keyed by text: task info (its name), thief (its identifier).
    Names namesAt(CloudOperation::Record kind, const QString& key);

    // Whether a local row already carries this record's name.
    bool holds(const CloudRecord& record);

    static bool hasUnlinked(const Names& names);
    static bool hasName(const Names& names, const QString& recordName);

private:
    DataController& m_store;
};
