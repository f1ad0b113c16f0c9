#pragma once

#include <optional>

#include <QString>

#include "cloud/CloudError.h"
#include "tallycore_export.h"

// Why a request to the cloud database failed, as the sync engine classifies it: the codes 3
// and 4 are network failures (the write is queued), 25 is the exceeded quota.
struct TALLYCORE_EXPORT CloudFailure {
    enum Code {
        InternalError = 1,
        NetworkUnavailable = 3,
        NetworkFailure = 4,
        NotAuthenticated = 9,
        PermissionFailure = 10,
        UnknownItem = 11,
        InvalidArguments = 12,
        ServerRecordChanged = 14,
        QuotaExceeded = 25,
        ZoneNotFound = 26,
    };

    int code = InternalError;
    QString message;
    // Seconds to wait before trying again, when the server said it is busy for a while.
    std::optional<int> retryAfter;

    bool isNetworkFailure() const { return code == NetworkUnavailable || code == NetworkFailure; }
    // A write refused for this stays queued for a later replay: the network comes back, and
    // a full quota is raised or freed.
    bool keepsTheWrite() const { return isNetworkFailure() || code == QuotaExceeded; }

    // A refused statement by its SQLSTATE; a connection that broke is a network failure.
    static CloudFailure fromStatement(const CloudError& error);
    // A connection that could not be made.
    static CloudFailure fromConnect(const CloudError& error);
};
