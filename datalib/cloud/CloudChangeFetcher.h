#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "cloud/CloudDatabase.h"
#include "tallycore_export.h"

class CloudChangeApplier;
class CloudTokenStore;
class DataController;

// One incoming synchronisation, blocking: which zones changed since the stored database
// token, every record changed and deleted in them since their zone tokens, applied to the
// store. A token is written only once what it covers is in the store: a zone's after its
// records and deletions, the database's once every listed zone went through, so a fetch that
// fails anywhere is repeated from the same point. One fetcher serves one thread at a time.
class TALLYCORE_EXPORT CloudChangeFetcher {
public:
    CloudChangeFetcher(QString uri, std::optional<QString> password, DataController& store,
                       std::shared_ptr<CloudTokenStore> tokens,
                       std::unique_ptr<CloudChangeApplier> applier);
    ~CloudChangeFetcher();
    CloudChangeFetcher(const CloudChangeFetcher&) = delete;
    CloudChangeFetcher& operator=(const CloudChangeFetcher&) = delete;

    void fetchChanges();

private:
    struct Fetched {
        QString zone;
        CloudDatabase::ZoneChanges changes;
    };

    // The zones that failed to go into the store.
    QStringList apply(const QList<Fetched>& fetched);
    bool storeTokens(const QList<Fetched>& fetched, const QStringList& failedZones);

    CloudDatabase m_database;
    DataController& m_store;
    std::shared_ptr<CloudTokenStore> m_tokens;
    std::unique_ptr<CloudChangeApplier> m_applier;
    bool m_zonesReady = false;
};
