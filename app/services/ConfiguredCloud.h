#pragma once

#include <memory>
#include <optional>

#include <QString>

class CloudDatabase;
class CloudDataController;
class DataController;
class Settings;

// The cloud database the user connected (zestra-cli cloud connect, or the Cloud pane): its URI
// from the settings and its password from the keyring, or from libpq's own password file.
class ConfiguredCloud {
public:
    // Empty when no cloud database is connected.
    static QString uri(const Settings& settings);
    // Null when no cloud database is connected; nothing is asked of the server yet.
    static std::unique_ptr<CloudDatabase> open(const Settings& settings);
    // The sync engine for `store` on the database at `uri`, with the shared pending-operation
    // cache and its change tokens in the settings file.
    static std::shared_ptr<CloudDataController> engine(const QString& uri,
                                                       const std::optional<QString>& password,
                                                       DataController& store,
                                                       const Settings& settings);
    // The URI with a connect timeout of `seconds`, unless it sets its own: a server out of
    // reach then answers in seconds rather than after the system's TCP timeout.
    static QString withConnectTimeout(const QString& uri, int seconds);
};
