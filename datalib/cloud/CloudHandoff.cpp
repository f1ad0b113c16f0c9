#include "cloud/CloudHandoff.h"

#include <limits>

#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

#include "cloud/CloudDatabase.h"
#include "cloud/CloudRecord.h"

namespace {

const QString zone = QString::fromLatin1(CloudHandoff::zoneName);
const QString type = QString::fromLatin1(CloudHandoff::recordType);

// Every hand-off record, a page at a time; one per computer, so they are few.
template <typename Visit>
bool eachRecord(CloudDatabase& database, CloudFailure& failure, Visit visit)
{
    std::optional<QString> cursor;
    do {
        const std::optional<CloudDatabase::Page> page =
            database.recordsBefore(type, zone, QStringLiteral("publishedAt"),
                                   std::numeric_limits<double>::max(), cursor, failure);
        if (!page)
            return false;
        for (const CloudRecord& record : page->records)
            visit(record);
        cursor = page->cursor;
    } while (cursor);
    return true;
}

} // namespace

QString CloudHandoff::thisDevice()
{
    const QByteArray id = QSysInfo::machineUniqueId();
    return id.isEmpty() ? QSysInfo::machineHostName() : QString::fromLatin1(id);
}

QString CloudHandoff::thisDeviceName()
{
    return QSysInfo::machineHostName();
}

CloudHandoff::CloudHandoff(CloudDatabase& database, QString device, QString deviceName)
    : m_database(database)
    , m_device(std::move(device))
    , m_deviceName(std::move(deviceName))
{}

bool CloudHandoff::findOwnRecord(CloudFailure& failure)
{
    if (!m_recordName.isEmpty())
        return true;
    if (!m_database.ensureZones({zone}, failure))
        return false;
    return eachRecord(m_database, failure, [this](const CloudRecord& record) {
        if (record.string(QStringLiteral("device")) == m_device)
            m_recordName = record.recordName();
    });
}

bool CloudHandoff::publish(const QVariantMap& userInfo, qint64 remaining, double now,
                           CloudFailure& failure)
{
    if (!findOwnRecord(failure))
        return false;
    CloudRecord record(type, zone);
    // No change tag: the newest state of this computer wins over whatever is stored.
    record.setRecordName(m_recordName);
    record.set(QStringLiteral("device"), CloudField::string(m_device));
    record.set(QStringLiteral("deviceName"), CloudField::string(m_deviceName));
    record.set(QStringLiteral("publishedAt"), CloudField::date(now));
    record.set(QStringLiteral("remaining"), CloudField::int64(remaining));
    record.set(
        QStringLiteral("userInfo"),
        CloudField::string(QString::fromUtf8(
            QJsonDocument(QJsonObject::fromVariantMap(userInfo)).toJson(QJsonDocument::Compact))));
    const QList<CloudDatabase::SaveOutcome> outcomes = m_database.save({record});
    if (outcomes.isEmpty() || !outcomes.first().record) {
        if (!outcomes.isEmpty() && outcomes.first().failure)
            failure = *outcomes.first().failure;
        // A record deleted elsewhere is made again next time.
        m_recordName.clear();
        return false;
    }
    m_recordName = outcomes.first().record->recordName();
    return true;
}

std::optional<CloudHandoff::Offer> CloudHandoff::latestOffer(double now, CloudFailure& failure)
{
    failure = CloudFailure{};
    std::optional<Offer> newest;
    const bool read = eachRecord(m_database, failure, [&](const CloudRecord& record) {
        const std::optional<QString> device = record.string(QStringLiteral("device"));
        const std::optional<double> publishedAt = record.date(QStringLiteral("publishedAt"));
        const std::optional<std::int64_t> remaining = record.int64(QStringLiteral("remaining"));
        const std::optional<QString> json = record.string(QStringLiteral("userInfo"));
        if (!device || *device == m_device || !publishedAt || !remaining || !json)
            return;
        if (*publishedAt + double(*remaining) <= now || *publishedAt > now + 60)
            return;
        if (newest && newest->publishedAt >= *publishedAt)
            return;
        const QJsonDocument document = QJsonDocument::fromJson(json->toUtf8());
        if (!document.isObject())
            return;
        QVariantMap userInfo = document.object().toVariantMap();
        // JSON knows only doubles; the countdown's counters are whole numbers.
        for (const char* key : {"current_time", "current_session", "current_goal"}) {
            const QVariant value = userInfo.value(QLatin1String(key));
            if (value.isValid())
                userInfo.insert(QLatin1String(key), int(value.toLongLong()));
        }
        qint64 left = *remaining;
        // A running countdown went on while its record waited here.
        if (!userInfo.value(QStringLiteral("is_paused")).toBool()) {
            const qint64 waited = qint64(now - *publishedAt);
            userInfo.insert(
                QStringLiteral("current_time"),
                int(userInfo.value(QStringLiteral("current_time")).toLongLong() + waited));
            left -= waited;
        }
        newest = Offer{*device, record.string(QStringLiteral("deviceName")).value_or(*device),
                       userInfo, *publishedAt, left};
    });
    if (!read)
        return std::nullopt;
    return newest;
}
