#pragma once

#include <functional>

#include "cloud/CloudFailure.h"
#include "cloud/CloudLocalRows.h"
#include "cloud/CloudOperation.h"
#include "cloud/CloudOperationPerformer.h"
#include "tallycore_export.h"

class CloudRecordWriter;
class DataController;

// Does a queued cloud write again, blocking. A save goes out only while its local row is
// still there without a record name (otherwise there is nothing left to do), hands the new
// name to that row, and takes the record back when the row went away meanwhile.
class TALLYCORE_EXPORT CloudOperationReplayer {
public:
    CloudOperationReplayer(CloudRecordWriter& writer, DataController& store);

    // Also the failure, when there was one, for its retry interval.
    CloudOperationPerformer::Outcome replay(const CloudOperation& operation, CloudFailure& failure);

private:
    using Outcome = CloudOperationPerformer::Outcome;

    Outcome save(const CloudOperation& operation, CloudFailure& failure);
    Outcome update(const CloudOperation& operation, CloudFailure& failure);
    Outcome saveRow(const CloudRecord& record, const std::function<CloudLocalRows::Names()>& local,
                    const std::function<void(const QString&)>& link, CloudFailure& failure);
    static Outcome outcomeOf(const CloudFailure& failure);

    CloudRecordWriter& m_writer;
    DataController& m_store;
    CloudLocalRows m_rows;
};
