#pragma once

#include <QList>

#include "cloud/CloudRecord.h"
#include "store/Date.h"
#include "tallycore_export.h"

class CloudDatabase;
class DataController;

// The upload of a local history that has never reached the cloud, and the maintenance of the
// cloud's side: the weekly purge of old work activities and the clearing of zones. Every call
// blocks until the server has answered, so it runs off the interface thread.
class TALLYCORE_EXPORT CloudMigration {
public:
    static constexpr int batchSize = 400;

    CloudMigration(DataController& store, CloudDatabase& database);

    // Creates the zones and uploads every object without a record name (preloaded thieves
    // never), in batches of at most 400, giving each object its record name. True only when
    // the account is there and every record of every batch was saved: a migration that did
    // not finish is run again at the next start.
    bool migrateToCloud();
    // Deletes the cloud's work activities that started before the start of the local day seven
    // calendar days before `now`, page by page. False when the cloud could not be asked.
    bool deletePrevoiusWeekWorkActivity(Date now);
    // Empties the zones of tasks, intervals, sessions and goals (thieves and activities stay).
    bool truncateAll();

    static QList<QList<CloudRecord>> batches(const QList<CloudRecord>& records,
                                             int size = batchSize);

private:
    // Saves the records in batches and links each saved one; false when any failed.
    bool upload(const QList<CloudRecord>& records);

    DataController& m_store;
    CloudDatabase& m_database;
};
