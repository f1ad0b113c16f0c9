#pragma once

#include <optional>

#include <QString>
#include <QVariantMap>

#include "tallycore_export.h"

// A cloud write that could not reach the cloud, kept to be tried again: which kind of record,
// what was done to it, and what is needed to do it again.
struct TALLYCORE_EXPORT CloudOperation {
    // The stored codes: powers of two after `goal`.
    enum class Record {
        task = 0,
        session = 1,
        goal = 2,
        thief = 4,
        workActivity = 8,
        taskInfo = 16
    };
    enum class Operation { save = 0, update = 1, remove = 2 };

    Record recordType = Record::task;
    Operation operation = Operation::save;
    QVariantMap userInfo;

    static std::optional<Record> recordFromCode(int code);
    static std::optional<Operation> operationFromCode(int code);
    // The pairs of record and operation that are ever queued (a session is never updated,
    // a thief never deleted, and so on).
    bool isSupported() const;
};
