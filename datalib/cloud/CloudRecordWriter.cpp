#include "cloud/CloudRecordWriter.h"

#include "Console.h"
#include "NotificationCenter.h"
#include "cloud/CloudNotifications.h"
#include "cloud/CloudRecordMapping.h"

CloudRecordWriter::CloudRecordWriter(QString uri, std::optional<QString> password)
    : m_database(std::move(uri), std::move(password))
{}

CloudRecordWriter::~CloudRecordWriter() = default;

bool CloudRecordWriter::ensureZones(CloudFailure& failure)
{
    // Records live in zones; a database that never saw this program has none yet.
    if (!m_zonesReady)
        m_zonesReady = m_database.ensureZones(CloudRecordMapping::zoneNames(), failure);
    return m_zonesReady;
}

std::optional<CloudRecord> CloudRecordWriter::save(const CloudRecord& record, CloudFailure& failure)
{
    std::optional<CloudRecord> saved;
    if (ensureZones(failure)) {
        const CloudDatabase::SaveOutcome outcome = m_database.save({record}).value(0);
        saved = outcome.record;
        if (!saved)
            failure = outcome.failure.value_or(CloudFailure{});
    }
    if (saved)
        return saved;
    Console::line(QStringLiteral("err @ save(_:completionHandler:) line: 172 -> ") +
                  failure.message);
    if (failure.code == CloudFailure::QuotaExceeded)
        NotificationCenter::defaultCenter().post(QLatin1String(ZestraCloudQuotaExceeded));
    return std::nullopt;
}

bool CloudRecordWriter::edit(const QString& recordName, const QStringList& desiredKeys,
                             const std::function<void(CloudRecord&)>& change,
                             const QString& operation, CloudFailure& failure)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::optional<QList<CloudRecord>> fetched =
            m_database.fetch({recordName}, desiredKeys, failure);
        if (!fetched)
            break;
        if (fetched->isEmpty()) {
            failure = {CloudFailure::UnknownItem,
                       QStringLiteral("no record %1 on the server").arg(recordName), std::nullopt};
            break;
        }
        CloudRecord record = fetched->first();
        change(record);
        const CloudDatabase::SaveOutcome outcome = m_database.save({record}).value(0);
        if (outcome.record) {
            Console::line(QStringLiteral("Progress of 100 of 100%"));
            return true;
        }
        failure = outcome.failure.value_or(CloudFailure{});
        if (failure.code != CloudFailure::ServerRecordChanged)
            break;
    }
    Console::line(QStringLiteral("err @ ") + operation + QStringLiteral(" -> ") + failure.message);
    return false;
}

bool CloudRecordWriter::remove(const QString& recordName, CloudFailure& failure)
{
    if (!m_database.remove({recordName}, failure)) {
        Console::line(QStringLiteral("err @ delete(_:completionHandler:) -> ") + failure.message);
        return false;
    }
    Console::line(QStringLiteral("deleted ok..."));
    return true;
}
