#include "cloud/CloudFailure.h"

namespace {

// How long a server that refuses connections for a while (too many clients, starting up,
// shutting down) is left alone.
constexpr int busyServerSeconds = 30;

} // namespace

CloudFailure CloudFailure::fromStatement(const CloudError& error)
{
    CloudFailure failure{InternalError, error.message, std::nullopt};
    const QString& state = error.sqlState;
    if (error.kind == CloudError::Kind::Unreachable || state.startsWith(QLatin1String("08")) ||
        state == QLatin1String("57P01") || state == QLatin1String("57P02") ||
        state == QLatin1String("57P03"))
        failure.code = NetworkFailure;
    else if (state == QLatin1String("53300"))
        failure.code = NetworkUnavailable;
    else if (state == QLatin1String("ZQ001"))
        failure.code = QuotaExceeded;
    else if (state == QLatin1String("ZT001"))
        failure.code = ServerRecordChanged;
    else if (state == QLatin1String("ZA001") || state == QLatin1String("3F000") ||
             state == QLatin1String("42P01"))
        failure.code = NotAuthenticated;
    else if (state == QLatin1String("42501"))
        failure.code = PermissionFailure;
    else if (state == QLatin1String("23503"))
        failure.code = ZoneNotFound;
    else if (state.startsWith(QLatin1String("22")) || state.startsWith(QLatin1String("23")))
        failure.code = InvalidArguments;
    if (state == QLatin1String("53300") || state == QLatin1String("57P03"))
        failure.retryAfter = busyServerSeconds;
    return failure;
}

CloudFailure CloudFailure::fromConnect(const CloudError& error)
{
    CloudFailure failure{NetworkUnavailable, error.message, std::nullopt};
    const QString& text = error.message;
    if (error.kind == CloudError::Kind::InvalidUri)
        failure.code = InvalidArguments;
    else if (text.contains(QLatin1String("authentication failed")) ||
             (text.contains(QLatin1String("role \"")) &&
              text.contains(QLatin1String("does not exist"))))
        failure.code = NotAuthenticated;
    // libpq gives no SQLSTATE for a refused connection, only the server's message.
    if (text.contains(QLatin1String("too many clients")) ||
        text.contains(QLatin1String("is starting up")) ||
        text.contains(QLatin1String("is shutting down")) ||
        text.contains(QLatin1String("not yet accepting connections")))
        failure.retryAfter = busyServerSeconds;
    return failure;
}
