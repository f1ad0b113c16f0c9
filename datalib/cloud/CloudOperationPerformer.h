#pragma once

#include <functional>

#include "cloud/CloudOperation.h"
#include "tallycore_export.h"

// Does a queued cloud operation again (the sync engine). It answers once, on any thread.
class TALLYCORE_EXPORT CloudOperationPerformer {
public:
    enum class Outcome {
        done,
        // The cloud could not be reached: the operation stays queued.
        networkFailure,
        // Refused for good (the record is gone, a value is wrong): it is dropped.
        failed,
    };

    virtual ~CloudOperationPerformer();
    virtual void perform(const CloudOperation& operation,
                         std::function<void(Outcome outcome)> completion) = 0;
};
