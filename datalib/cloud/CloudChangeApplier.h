#pragma once

#include <QString>

#include "cloud/CloudLocalRows.h"
#include "cloud/CloudRecord.h"
#include "tallycore_export.h"

class DataController;

// Puts one change that arrived from the cloud into the local store through the store's own
// operations (none of which writes back to the cloud), prints what it did and posts the
// change's notification. A record already held locally is an update; a new record whose
// natural key names a local row without a record name links that row (it is this
// computer's own write coming back) instead of adding a second one.
class TALLYCORE_EXPORT CloudChangeApplier {
public:
    explicit CloudChangeApplier(DataController& store);
    virtual ~CloudChangeApplier();
    CloudChangeApplier(const CloudChangeApplier&) = delete;
    CloudChangeApplier& operator=(const CloudChangeApplier&) = delete;

    // False when the store could not take the change, so that it is fetched again. A record
    // of an unknown type, or lacking a required field, is skipped (true).
    virtual bool apply(const CloudRecord& record);
    virtual bool applyDeletion(const QString& recordName, const QString& recordType);

    static void post(const char* name, double date);

private:
    bool stored();
    bool skip(const CloudRecord& record);
    bool applyTaskInfo(const CloudRecord& record, bool updated);
    bool applyTask(const CloudRecord& record, bool updated);
    bool applyMoment(const CloudRecord& record, bool updated, CloudOperation::Record kind);
    bool applyThief(const CloudRecord& record, bool updated);
    bool applyWorkActivity(const CloudRecord& record, bool updated);

    DataController& m_store;
    CloudLocalRows m_rows;
};
