#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "cloud/CloudDatabase.h"
#include "cloud/CloudFailure.h"
#include "cloud/CloudRecord.h"
#include "tallycore_export.h"

// The three kinds of cloud write, each one blocking call on the writer's own database
// connection: save a new record, edit some fields of an existing one, delete one. Each
// prints its failure; a save refused for the quota also posts the quota notification.
// One writer serves one thread at a time.
class TALLYCORE_EXPORT CloudRecordWriter {
public:
    CloudRecordWriter(QString uri, std::optional<QString> password);
    virtual ~CloudRecordWriter();
    CloudRecordWriter(const CloudRecordWriter&) = delete;
    CloudRecordWriter& operator=(const CloudRecordWriter&) = delete;

    // Virtual so that tests can make a save fail as the network would.
    virtual std::optional<CloudRecord> save(const CloudRecord& record, CloudFailure& failure);
    // Fetches the record with only `desiredKeys`, lets `change` set them, and saves it if
    // nobody changed it meanwhile (once more from its new state when somebody did).
    bool edit(const QString& recordName, const QStringList& desiredKeys,
              const std::function<void(CloudRecord&)>& change, const QString& operation,
              CloudFailure& failure);
    // A record already gone counts as deleted.
    bool remove(const QString& recordName, CloudFailure& failure);

    CloudDatabase& database() { return m_database; }

private:
    bool ensureZones(CloudFailure& failure);

    CloudDatabase m_database;
    bool m_zonesReady = false;
};
