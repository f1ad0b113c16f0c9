#include "cloud/CloudChangeFetcher.h"

#include <algorithm>
#include <array>

#include "Console.h"
#include "cloud/CloudChangeApplier.h"
#include "cloud/CloudNotifications.h"
#include "cloud/CloudRecordMapping.h"
#include "cloud/CloudTokenStore.h"
#include "dispatch/Clock.h"
#include "store/DataController.h"

namespace {

void postNow(const char* name)
{
    CloudChangeApplier::post(name, Clock::current());
}

} // namespace

CloudChangeFetcher::CloudChangeFetcher(QString uri, std::optional<QString> password,
                                       DataController& store,
                                       std::shared_ptr<CloudTokenStore> tokens,
                                       std::unique_ptr<CloudChangeApplier> applier)
    : m_database(std::move(uri), std::move(password))
    , m_store(store)
    , m_tokens(std::move(tokens))
    , m_applier(applier ? std::move(applier) : std::make_unique<CloudChangeApplier>(store))
{}

CloudChangeFetcher::~CloudChangeFetcher() = default;

void CloudChangeFetcher::fetchChanges()
{
    postNow(ZestraCloudSynchronizationStarted);
    const QString databaseKey = QLatin1String(CloudTokenStore::databaseKey);
    CloudFailure failure;
    if (!m_zonesReady)
        m_zonesReady = m_database.ensureZones(CloudRecordMapping::zoneNames(), failure);
    const std::optional<CloudDatabase::ChangedZones> changed =
        m_zonesReady ? m_database.changedZones(m_tokens->token(databaseKey).value_or(0), failure)
                     : std::nullopt;
    if (!changed) {
        Console::line(
            QStringLiteral("err @ fetchZonesChanges(serverToken:completionHandler:) -> ") +
            failure.message);
        postNow(ZestraCloudSynchronizationEnd);
        return;
    }
    Console::line(QStringLiteral("Zones... ") + QString::number(changed->zones.size()));

    QList<Fetched> fetched;
    bool complete = true;
    for (const QString& zone : changed->zones) {
        // Zones of no record kind (the countdowns' hand-off) are read by their own code.
        if (!CloudRecordMapping::recordOfZone(zone))
            continue;
        const std::optional<QString> key = CloudTokenStore::zoneKey(zone);
        const qint64 since = key ? m_tokens->token(*key).value_or(0) : 0;
        std::optional<CloudDatabase::ZoneChanges> changes =
            m_database.zoneChanges(zone, since, failure);
        if (!changes) {
            Console::line(QStringLiteral("err @ fetchChanges(in:) -> ") + failure.message);
            complete = false;
            continue;
        }
        fetched.append({zone, std::move(*changes)});
    }
    const QStringList failedZones = apply(fetched);
    if (storeTokens(fetched, failedZones) && complete)
        m_tokens->setToken(databaseKey, changed->token);
    postNow(ZestraCloudSynchronizationEnd);
}

QStringList CloudChangeFetcher::apply(const QList<Fetched>& fetched)
{
    // Tasks before the intervals that refer to them, thieves before their activities.
    const std::array<QString, 3> firstTypes{QStringLiteral("TaskInfo"), QStringLiteral("Thief"),
                                            QStringLiteral("WorkActivity")};
    std::array<QList<CloudRecord>, 4> groups;
    qsizetype deletions = 0;
    for (const Fetched& zone : fetched) {
        deletions += zone.changes.deleted.size();
        for (const CloudRecord& record : zone.changes.changed) {
            const auto first = std::find(firstTypes.begin(), firstTypes.end(), record.recordType());
            groups[std::size_t(first - firstTypes.begin())].append(record);
        }
    }
    qsizetype records = 0;
    for (const QList<CloudRecord>& group : groups)
        records += group.size();
    Console::line(QStringLiteral(":: save: %1 delete: %2").arg(records).arg(deletions));

    QStringList failedZones;
    // A write the store could not take is dropped, not left for another thread's next save:
    // its change comes again with the next fetch. Writes another thread left pending before
    // this began are not ours to drop.
    const auto dropOwnPendingWrites = [this](bool pendingBefore) {
        if (!pendingBefore && m_store.hasChanges())
            m_store.resetContext();
    };
    for (const QList<CloudRecord>& group : groups) {
        const bool pendingBefore = m_store.hasChanges();
        for (const CloudRecord& record : group) {
            if (!m_applier->apply(record) && !failedZones.contains(record.zoneName()))
                failedZones.append(record.zoneName());
        }
        dropOwnPendingWrites(pendingBefore);
    }
    const bool pendingBefore = m_store.hasChanges();
    for (const Fetched& zone : fetched) {
        for (const CloudDatabase::Deletion& deletion : zone.changes.deleted) {
            if (!m_applier->applyDeletion(deletion.recordName, deletion.recordType) &&
                !failedZones.contains(zone.zone))
                failedZones.append(zone.zone);
        }
    }
    dropOwnPendingWrites(pendingBefore);
    return failedZones;
}

bool CloudChangeFetcher::storeTokens(const QList<Fetched>& fetched, const QStringList& failedZones)
{
    for (const Fetched& zone : fetched) {
        if (failedZones.contains(zone.zone))
            continue;
        if (const std::optional<QString> key = CloudTokenStore::zoneKey(zone.zone))
            m_tokens->setToken(*key, zone.changes.token);
        else
            Console::line(QStringLiteral("No podemos guardar el token"));
    }
    return failedZones.isEmpty();
}
