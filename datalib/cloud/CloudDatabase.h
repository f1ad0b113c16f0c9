#pragma once

#include <memory>
#include <optional>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "cloud/CloudFailure.h"
#include "cloud/CloudRecord.h"
#include "tallycore_export.h"

class PgConnection;

// The user's private cloud database on a PostgreSQL server: one connection, opened when first
// needed and opened again after it breaks. Every call blocks until the server answers, so it
// runs off the interface thread; one object serves one thread at a time.
class TALLYCORE_EXPORT CloudDatabase {
public:
    enum class AccountStatus { Available, NoAccount };

    // A record deleted from a zone.
    struct Deletion {
        QString recordName;
        QString recordType;
    };
    struct ZoneChanges {
        QList<CloudRecord> changed;
        QList<Deletion> deleted;
        qint64 token = 0;
    };
    struct ChangedZones {
        QStringList zones;
        qint64 token = 0;
    };
    // One record's save: the saved record (with its name and new tag) or why it failed.
    struct SaveOutcome {
        std::optional<CloudRecord> record;
        std::optional<CloudFailure> failure;
    };
    // One page of a zone's records, and where the next one starts (none after the last).
    struct Page {
        QList<CloudRecord> records;
        std::optional<QString> cursor;
    };

    // `password`, when given, supplies or overrides the URI's; every other option of the URI
    // (sslmode, connect_timeout...) goes to libpq as it is.
    explicit CloudDatabase(QString uri, std::optional<QString> password = std::nullopt,
                           int pageSize = 200);
    ~CloudDatabase();
    CloudDatabase(const CloudDatabase&) = delete;
    CloudDatabase& operator=(const CloudDatabase&) = delete;

    std::optional<AccountStatus> accountStatus(CloudFailure& failure);
    // Creates the zones that are missing.
    bool ensureZones(const QStringList& zones, CloudFailure& failure);
    // Created when it has no name yet, else updated (only if unchanged when it carries a change
    // tag). Creates without assets go in one statement; the others each in their own
    // transaction with their assets. The outcomes follow the order of `records`.
    QList<SaveOutcome> save(const QList<CloudRecord>& records);
    // The records found (names that match none are left out), with only `desiredKeys` when
    // any are given.
    std::optional<QList<CloudRecord>> fetch(const QStringList& recordNames,
                                            const QStringList& desiredKeys, CloudFailure& failure);
    // The names that were deleted; a name already gone is not an error.
    std::optional<QStringList> remove(const QStringList& recordNames, CloudFailure& failure);
    // Which zones changed after `sinceToken` (0: all of them), and the token to keep.
    std::optional<ChangedZones> changedZones(qint64 sinceToken, CloudFailure& failure);
    // Every record changed and deleted in the zone after `sinceToken`, read from one snapshot.
    std::optional<ZoneChanges> zoneChanges(const QString& zone, qint64 sinceToken,
                                           CloudFailure& failure);
    // The records of a type in a zone whose date field lies before `before`, one page from
    // `cursor` (none for the first).
    std::optional<Page> recordsBefore(const QString& recordType, const QString& zone,
                                      const QString& dateField, double before,
                                      const std::optional<QString>& cursor, CloudFailure& failure);
    // The records of a type in a zone whose reference field points at `recordName`, one
    // page from `cursor`.
    std::optional<Page> recordsReferencing(const QString& recordType, const QString& zone,
                                           const QString& referenceField, const QString& recordName,
                                           const std::optional<QString>& cursor,
                                           CloudFailure& failure);
    // Every zone of the database, oldest first.
    std::optional<QStringList> zones(CloudFailure& failure);
    // Deletes every record of the zones (each leaves a deletion for the change fetches); the
    // zones stay. The number of records deleted.
    std::optional<qint64> clearZones(const QStringList& zones, CloudFailure& failure);
    // The secret channel the server notifies after each committed change.
    std::optional<QString> channel(CloudFailure& failure);

    const QString& uri() const { return m_uri; }
    const std::optional<QString>& password() const { return m_password; }

private:
    PgConnection* connection(CloudFailure& failure);
    std::optional<QList<QStringList>> run(const QString& sql, const QStringList& parameters,
                                          CloudFailure& failure);
    std::optional<SaveOutcome> saveOne(const CloudRecord& record, CloudFailure& failure);
    // The creation key of a new record without assets, which can go in a batch statement.
    static std::optional<QString> plainCreateKey(const CloudRecord& record);
    // The records at the indexes of `creates`, with their creation keys, inserted together;
    // false (outcomes untouched) when refused.
    bool createAll(const QList<CloudRecord>& records,
                   const QList<QPair<qsizetype, QString>>& creates, QList<SaveOutcome>& outcomes,
                   CloudFailure& failure);
    std::optional<QList<CloudRecord>> readRecords(const QList<QStringList>& rows,
                                                  const QStringList& desiredKeys,
                                                  CloudFailure& failure);
    std::optional<qint64> currentToken(CloudFailure& failure);
    // The one value `sql` reads from this user's account row; a user without one has no
    // account (NotAuthenticated).
    std::optional<QString> accountValue(const QString& sql, CloudFailure& failure);
    // One page of the records meeting `condition` (on $1.. of `parameters`), by name.
    std::optional<Page> page(const QString& condition, QStringList parameters,
                             const std::optional<QString>& cursor, CloudFailure& failure);
    void rollback();

    QString m_uri;
    std::optional<QString> m_password;
    int m_pageSize;
    std::unique_ptr<PgConnection> m_connection;
    bool m_inTransaction = false;
};
