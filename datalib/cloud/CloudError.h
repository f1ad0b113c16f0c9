#pragma once

#include <QString>

// Why a step against the cloud database server failed.
struct CloudError {
    enum class Kind {
        // The connection string is not one libpq can read.
        InvalidUri,
        // No connection could be made, or it broke: the server is down, away or refused us.
        Unreachable,
        // The server answered a statement with an error; `sqlState` says which.
        Refused,
        // A user name the server cannot hold as a role.
        InvalidName,
        UserExists,
        // The database has no cloud schema yet, or one that a newer program wrote.
        SchemaMissing,
        SchemaNewer,
        // The bundled upgrade files are not numbered 1, 2, 3...
        BrokenUpgrades,
    };

    Kind kind = Kind::Refused;
    QString message;
    // The five-character SQLSTATE of a refused statement, such as "42710"; else empty.
    QString sqlState;
};
