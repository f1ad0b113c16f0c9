#pragma once

#include <optional>

#include <QString>

#include "tallycore_export.h"

// Where the password of the cloud database goes: the desktop keyring (Secret Service), or,
// when no keyring answers, libpq's own password file, which libpq then reads by itself. The
// URI kept in the settings never holds it.
class TALLYCORE_EXPORT CloudCredentials {
public:
    enum class Place { keyring, passwordFile };

    struct Parsed {
        // The URI as given, less its password.
        QString uri;
        QString user;
        std::optional<QString> password;
    };

    // Absent, with `error` saying why, for text that is not a postgresql:// URI libpq reads.
    static std::optional<Parsed> parse(const QString& uri, QString& error);

    // Stores the password of `user` at `uri`; absent, with `error`, when neither place took it.
    static std::optional<Place> store(const QString& uri, const QString& user,
                                      const QString& password, QString& error);
    // The keyring's password for `uri`; absent when it has none or no keyring answers.
    static std::optional<QString> password(const QString& uri);
    // The password file libpq reads: $PGPASSFILE, else ~/.pgpass.
    static QString passwordFilePath();

private:
    static bool storeInPasswordFile(const QString& uri, const QString& user,
                                    const QString& password, QString& error);
};
