#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tallycore_export.h"

// Where the sync engine keeps the server's change tokens between runs: one number per key,
// the database's and one per zone.
class TALLYCORE_EXPORT CloudTokenStore {
public:
    static constexpr const char* databaseKey = "ServerCloudChangeToken";

    virtual ~CloudTokenStore();

    // Absent when nothing was stored: fetch from the beginning.
    virtual std::optional<qint64> token(const QString& key) = 0;
    virtual void setToken(const QString& key, qint64 token) = 0;

    // The key of a zone's token; absent for a zone the sync engine does not know.
    static std::optional<QString> zoneKey(const QString& zoneName);
    // The database's key, then the zones' in the order they are created.
    static QStringList keys();
};
