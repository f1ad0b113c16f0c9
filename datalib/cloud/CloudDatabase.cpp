#include "cloud/CloudDatabase.h"

#include <csignal>
#include <mutex>

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QUuid>

#include <libpq-fe.h>

#include "cloud/CloudRecordMapping.h"
#include "cloud/PgConnection.h"

namespace {

const QString recordColumns =
    QStringLiteral("record_name, zone_name, record_type, change_tag, fields, changed_counter");
const QString firstName = QStringLiteral("00000000-0000-0000-0000-000000000000");
const QString beginSnapshot = QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
// A create sent again (its first answer was lost) finds the record the first one made, and
// leaves it with the fields sent now.
const QString onCreateConflict =
    QStringLiteral("ON CONFLICT (owner, creation_key) DO UPDATE SET fields = EXCLUDED.fields");

// Lists travel as one JSON array parameter, unpacked by the server.
QString jsonList(const QStringList& values)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

QStringList validNames(const QStringList& names)
{
    QStringList valid;
    for (const QString& name : names) {
        if (!QUuid::fromString(name).isNull())
            valid.append(name.toLower());
    }
    return valid;
}

CloudFailure failureOf(int code, const QString& message)
{
    return {code, message, std::nullopt};
}

} // namespace

CloudDatabase::CloudDatabase(QString uri, std::optional<QString> password, int pageSize)
    : m_uri(std::move(uri))
    , m_password(std::move(password))
    , m_pageSize(pageSize > 0 ? pageSize : 200)
{
    // A write to a connection the server closed must fail, not end the program.
    static std::once_flag ignored;
    std::call_once(ignored, [] { std::signal(SIGPIPE, SIG_IGN); });
}

CloudDatabase::~CloudDatabase() = default;

PgConnection* CloudDatabase::connection(CloudFailure& failure)
{
    if (m_connection && PQstatus(m_connection->handle()) == CONNECTION_OK)
        return m_connection.get();
    m_connection.reset();
    if (m_uri.isEmpty()) {
        failure = failureOf(CloudFailure::NotAuthenticated,
                            QStringLiteral("no cloud database is configured"));
        return nullptr;
    }
    CloudError error;
    m_connection = PgConnection::open(m_uri, m_password, error);
    if (!m_connection)
        failure = CloudFailure::fromConnect(error);
    return m_connection.get();
}

std::optional<QList<QStringList>>
CloudDatabase::run(const QString& sql, const QStringList& parameters, CloudFailure& failure)
{
    const bool reused = m_connection != nullptr;
    PgConnection* open = connection(failure);
    if (!open)
        return std::nullopt;
    CloudError error;
    std::optional<QList<QStringList>> rows = open->query(sql, parameters, error);
    if (!rows) {
        failure = CloudFailure::fromStatement(error);
        if (failure.isNetworkFailure()) {
            m_connection.reset();
            // An idle connection that the server closed (a restart) shows only when used:
            // a statement outside a transaction goes once more on a new one.
            if (reused && !m_inTransaction)
                return run(sql, parameters, failure);
            m_inTransaction = false;
        }
        return rows;
    }
    if (sql.startsWith(QLatin1String("BEGIN")))
        m_inTransaction = true;
    else if (sql == QLatin1String("COMMIT") || sql == QLatin1String("ROLLBACK"))
        m_inTransaction = false;
    return rows;
}

void CloudDatabase::rollback()
{
    if (!m_connection || PQstatus(m_connection->handle()) != CONNECTION_OK) {
        m_inTransaction = false;
        return;
    }
    CloudError ignored;
    m_connection->execute(QStringLiteral("ROLLBACK"), {}, ignored);
    m_inTransaction = false;
}

std::optional<CloudDatabase::AccountStatus> CloudDatabase::accountStatus(CloudFailure& failure)
{
    const std::optional<QList<QStringList>> rows =
        run(QStringLiteral("SELECT count(*) FROM zestra.accounts"), {}, failure);
    if (rows)
        return rows->value(0).value(0) == QLatin1String("1") ? AccountStatus::Available
                                                             : AccountStatus::NoAccount;
    // No schema, no grant on it, no role to log in as: not an account of this server.
    if (failure.code == CloudFailure::NotAuthenticated ||
        failure.code == CloudFailure::PermissionFailure)
        return AccountStatus::NoAccount;
    return std::nullopt;
}

bool CloudDatabase::ensureZones(const QStringList& zones, CloudFailure& failure)
{
    // Checked first: an insert that conflicts would still take a change counter value.
    for (const QString& zone : zones) {
        if (!run(QStringLiteral("INSERT INTO zestra.zones (zone_name) SELECT $1 WHERE NOT EXISTS "
                                "(SELECT FROM zestra.zones WHERE zone_name = $1) "
                                "ON CONFLICT DO NOTHING"),
                 {zone}, failure))
            return false;
    }
    return true;
}

QList<CloudDatabase::SaveOutcome> CloudDatabase::save(const QList<CloudRecord>& records)
{
    QList<SaveOutcome> outcomes(records.size());
    // Each create without assets, by its index in `records`, with its creation key.
    QList<QPair<qsizetype, QString>> creates;
    for (qsizetype index = 0; index < records.size(); ++index) {
        if (const std::optional<QString> key = plainCreateKey(records[index]))
            creates.append({index, *key});
    }
    std::optional<CloudFailure> network;
    QList<bool> done(records.size(), false);
    if (creates.size() > 1) {
        // All in one statement; when the server refuses it, each goes alone to learn which.
        CloudFailure failure;
        if (createAll(records, creates, outcomes, failure)) {
            for (const auto& create : creates)
                done[create.first] = true;
        } else if (failure.isNetworkFailure()) {
            network = failure;
        }
    }
    for (qsizetype index = 0; index < records.size(); ++index) {
        if (done[index])
            continue;
        // Once the server is out of reach, the rest would only wait for it again.
        if (network) {
            outcomes[index] = {std::nullopt, network};
            continue;
        }
        CloudFailure failure;
        std::optional<SaveOutcome> outcome = saveOne(records[index], failure);
        if (!outcome) {
            rollback();
            if (failure.isNetworkFailure())
                network = failure;
            outcomes[index] = {std::nullopt, failure};
        } else {
            outcomes[index] = *outcome;
        }
    }
    return outcomes;
}

std::optional<QString> CloudDatabase::plainCreateKey(const CloudRecord& record)
{
    if (!record.recordName().isEmpty())
        return std::nullopt;
    for (const CloudField& field : record.fields()) {
        if (field.type == CloudField::Type::Asset)
            return std::nullopt;
    }
    return CloudRecordMapping::creationKey(record);
}

bool CloudDatabase::createAll(const QList<CloudRecord>& records,
                              const QList<QPair<qsizetype, QString>>& creates,
                              QList<SaveOutcome>& outcomes, CloudFailure& failure)
{
    QJsonArray rows;
    QHash<QString, qsizetype> byKey;
    for (const auto& [index, key] : creates) {
        const CloudRecord& record = records[index];
        rows.append(QJsonArray{record.zoneName(), record.recordType(), record.fieldsObject(), key});
        byKey.insert(key, index);
    }
    const std::optional<QList<QStringList>> saved = run(
        QStringLiteral("INSERT INTO zestra.records (zone_name, record_type, fields, creation_key) "
                       "SELECT row->>0, row->>1, row->2, (row->>3)::uuid "
                       "FROM jsonb_array_elements($1::jsonb) AS input(row) ") +
            onCreateConflict + QStringLiteral(" RETURNING record_name, change_tag, creation_key"),
        {QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact))}, failure);
    if (!saved)
        return false;
    if (saved->size() != creates.size()) {
        // Every row answers once (two of one key make the server refuse the statement).
        failure = failureOf(CloudFailure::InvalidArguments,
                            QStringLiteral("the batch held one record twice"));
        return false;
    }
    for (const QStringList& row : *saved) {
        const qsizetype index = byKey.value(row.value(2), -1);
        if (index < 0)
            continue;
        CloudRecord result = records[index];
        result.setRecordName(row.value(0));
        result.setChangeTag(row.value(1));
        outcomes[index] = {result, std::nullopt};
    }
    return true;
}

std::optional<CloudDatabase::SaveOutcome> CloudDatabase::saveOne(const CloudRecord& record,
                                                                 CloudFailure& failure)
{
    if (!run(QStringLiteral("BEGIN"), {}, failure))
        return std::nullopt;
    const QString fields = QString::fromUtf8(record.fieldsJson());
    const QString removed = jsonList(record.removedKeys());
    std::optional<QList<QStringList>> saved;
    if (record.recordName().isEmpty()) {
        const std::optional<QString> key = CloudRecordMapping::creationKey(record);
        saved =
            run(QStringLiteral("INSERT INTO zestra.records "
                               "(zone_name, record_type, fields, creation_key) "
                               "VALUES ($1, $2, $3::jsonb, nullif($4, '')::uuid) ") +
                    onCreateConflict + QStringLiteral(" RETURNING record_name"),
                {record.zoneName(), record.recordType(), fields, key.value_or(QString())}, failure);
    } else {
        const QString merged = QStringLiteral(
            "fields = (fields - ARRAY(SELECT jsonb_array_elements_text($2::jsonb))) || $3::jsonb");
        if (record.changeTag().isEmpty())
            saved = run(QStringLiteral("UPDATE zestra.records SET ") + merged +
                            QStringLiteral(" WHERE record_name = $1::uuid RETURNING record_name"),
                        {record.recordName(), removed, fields}, failure);
        else
            saved = run(QStringLiteral("UPDATE zestra.records SET ") + merged +
                            QStringLiteral(", change_tag = $4::uuid WHERE record_name = $1::uuid "
                                           "RETURNING record_name"),
                        {record.recordName(), removed, fields, record.changeTag()}, failure);
    }
    if (!saved)
        return std::nullopt;
    if (saved->isEmpty()) {
        failure = failureOf(CloudFailure::UnknownItem,
                            QStringLiteral("no record %1 on the server").arg(record.recordName()));
        return std::nullopt;
    }
    const QString name = saved->first().value(0);
    for (auto field = record.fields().cbegin(); field != record.fields().cend(); ++field) {
        if (field->type != CloudField::Type::Asset)
            continue;
        if (!run(QStringLiteral("INSERT INTO zestra.assets (record_name, field, data) "
                                "VALUES ($1::uuid, $2, decode($3, 'hex')) "
                                "ON CONFLICT (owner, record_name, field) "
                                "DO UPDATE SET data = EXCLUDED.data"),
                 {name, field.key(), QString::fromLatin1(field->bytes.toHex())}, failure))
            return std::nullopt;
    }
    if (!record.removedKeys().isEmpty() &&
        !run(QStringLiteral("DELETE FROM zestra.assets WHERE record_name = $1::uuid "
                            "AND field IN (SELECT jsonb_array_elements_text($2::jsonb))"),
             {name, removed}, failure))
        return std::nullopt;
    // Writing an asset gave the record another tag.
    const std::optional<QList<QStringList>> tag =
        run(QStringLiteral("SELECT change_tag FROM zestra.records WHERE record_name = $1::uuid"),
            {name}, failure);
    if (!tag || !run(QStringLiteral("COMMIT"), {}, failure))
        return std::nullopt;
    CloudRecord result = record;
    result.setRecordName(name);
    result.setChangeTag(tag->value(0).value(0));
    return SaveOutcome{result, std::nullopt};
}

std::optional<QList<CloudRecord>> CloudDatabase::readRecords(const QList<QStringList>& rows,
                                                             const QStringList& desiredKeys,
                                                             CloudFailure& failure)
{
    QStringList names;
    for (const QStringList& row : rows)
        names.append(row.value(0));
    QMap<QString, QMap<QString, QByteArray>> assets;
    if (!names.isEmpty()) {
        const std::optional<QList<QStringList>> assetRows =
            run(QStringLiteral(
                    "SELECT record_name, field, encode(data, 'hex') FROM zestra.assets "
                    "WHERE record_name IN (SELECT jsonb_array_elements_text($1::jsonb)::uuid) "
                    "AND ($2::jsonb = '[]' OR field IN "
                    "(SELECT jsonb_array_elements_text($2::jsonb)))"),
                {jsonList(names), jsonList(desiredKeys)}, failure);
        if (!assetRows)
            return std::nullopt;
        for (const QStringList& asset : *assetRows)
            assets[asset.value(0)].insert(asset.value(1),
                                          QByteArray::fromHex(asset.value(2).toLatin1()));
    }
    QList<CloudRecord> records;
    for (const QStringList& row : rows) {
        std::optional<CloudRecord> record =
            CloudRecord::fromStored(row.value(2), row.value(1), row.value(0), row.value(3),
                                    row.value(4).toUtf8(), assets.value(row.value(0)));
        if (!record)
            continue;
        if (!desiredKeys.isEmpty()) {
            // Only the keys asked for; the others stay as they are on the server.
            CloudRecord trimmed(record->recordType(), record->zoneName());
            trimmed.setRecordName(record->recordName());
            trimmed.setChangeTag(record->changeTag());
            for (auto field = record->fields().cbegin(); field != record->fields().cend();
                 ++field) {
                if (desiredKeys.contains(field.key()))
                    trimmed.set(field.key(), field.value());
            }
            record = trimmed;
        }
        records.append(*record);
    }
    return records;
}

std::optional<QList<CloudRecord>> CloudDatabase::fetch(const QStringList& recordNames,
                                                       const QStringList& desiredKeys,
                                                       CloudFailure& failure)
{
    const QStringList names = validNames(recordNames);
    if (names.isEmpty())
        return QList<CloudRecord>();
    if (!run(beginSnapshot, {}, failure))
        return std::nullopt;
    std::optional<QList<QStringList>> rows =
        run(QStringLiteral("SELECT ") + recordColumns +
                QStringLiteral(" FROM zestra.records WHERE record_name IN "
                               "(SELECT jsonb_array_elements_text($1::jsonb)::uuid)"),
            {jsonList(names)}, failure);
    std::optional<QList<CloudRecord>> records;
    if (rows)
        records = readRecords(*rows, desiredKeys, failure);
    if (!records || !run(QStringLiteral("COMMIT"), {}, failure)) {
        rollback();
        return std::nullopt;
    }
    return records;
}

std::optional<QStringList> CloudDatabase::remove(const QStringList& recordNames,
                                                 CloudFailure& failure)
{
    const QStringList names = validNames(recordNames);
    if (names.isEmpty())
        return QStringList();
    const std::optional<QList<QStringList>> rows =
        run(QStringLiteral("DELETE FROM zestra.records WHERE record_name IN "
                           "(SELECT jsonb_array_elements_text($1::jsonb)::uuid) "
                           "RETURNING record_name"),
            {jsonList(names)}, failure);
    if (!rows)
        return std::nullopt;
    QStringList removed;
    for (const QStringList& row : *rows)
        removed.append(row.value(0));
    return removed;
}

std::optional<QString> CloudDatabase::accountValue(const QString& sql, CloudFailure& failure)
{
    const std::optional<QList<QStringList>> rows = run(sql, {}, failure);
    if (!rows)
        return std::nullopt;
    if (rows->isEmpty()) {
        failure = failureOf(CloudFailure::NotAuthenticated,
                            QStringLiteral("the server holds no cloud account for this user"));
        return std::nullopt;
    }
    return rows->first().value(0);
}

std::optional<qint64> CloudDatabase::currentToken(CloudFailure& failure)
{
    const std::optional<QString> counter =
        accountValue(QStringLiteral("SELECT change_counter FROM zestra.accounts"), failure);
    if (!counter)
        return std::nullopt;
    return counter->toLongLong();
}

std::optional<CloudDatabase::ChangedZones> CloudDatabase::changedZones(qint64 sinceToken,
                                                                       CloudFailure& failure)
{
    if (!run(beginSnapshot, {}, failure))
        return std::nullopt;
    ChangedZones changes;
    const std::optional<qint64> token = currentToken(failure);
    std::optional<QList<QStringList>> rows;
    if (token)
        rows = run(QStringLiteral("SELECT zone_name FROM zestra.zones WHERE changed_counter > $1 "
                                  "ORDER BY changed_counter, zone_name"),
                   {QString::number(sinceToken)}, failure);
    if (!rows || !run(QStringLiteral("COMMIT"), {}, failure)) {
        rollback();
        return std::nullopt;
    }
    for (const QStringList& row : *rows)
        changes.zones.append(row.value(0));
    changes.token = *token;
    return changes;
}

std::optional<CloudDatabase::ZoneChanges>
CloudDatabase::zoneChanges(const QString& zone, qint64 sinceToken, CloudFailure& failure)
{
    if (!run(beginSnapshot, {}, failure))
        return std::nullopt;
    const auto fail = [this] {
        rollback();
        return std::nullopt;
    };
    ZoneChanges changes;
    const std::optional<qint64> token = currentToken(failure);
    if (!token)
        return fail();
    changes.token = *token;
    const QString since = QString::number(sinceToken);
    const QString limit = QString::number(m_pageSize);
    // Pages ordered by (counter, name), each starting after the last row of the one before.
    QStringList cursor{since, firstName};
    for (;;) {
        const std::optional<QList<QStringList>> rows = run(
            QStringLiteral("SELECT ") + recordColumns +
                QStringLiteral(" FROM zestra.records WHERE zone_name = $1 AND changed_counter > $2 "
                               "AND (changed_counter, record_name) > ($3::bigint, $4::uuid) "
                               "ORDER BY changed_counter, record_name LIMIT $5"),
            {zone, since, cursor[0], cursor[1], limit}, failure);
        if (!rows)
            return fail();
        const std::optional<QList<CloudRecord>> records = readRecords(*rows, {}, failure);
        if (!records)
            return fail();
        changes.changed.append(*records);
        if (rows->size() < m_pageSize)
            break;
        cursor = {rows->last().value(5), rows->last().value(0)};
    }
    cursor = QStringList{since, firstName};
    for (;;) {
        const std::optional<QList<QStringList>> rows =
            run(QStringLiteral(
                    "SELECT record_name, record_type, changed_counter FROM zestra.tombstones "
                    "WHERE zone_name = $1 AND changed_counter > $2 "
                    "AND (changed_counter, record_name) > ($3::bigint, $4::uuid) "
                    "ORDER BY changed_counter, record_name LIMIT $5"),
                {zone, since, cursor[0], cursor[1], limit}, failure);
        if (!rows)
            return fail();
        for (const QStringList& row : *rows)
            changes.deleted.append({row.value(0), row.value(1)});
        if (rows->size() < m_pageSize)
            break;
        cursor = {rows->last().value(2), rows->last().value(0)};
    }
    if (!run(QStringLiteral("COMMIT"), {}, failure))
        return fail();
    return changes;
}

std::optional<CloudDatabase::Page> CloudDatabase::page(const QString& condition,
                                                       QStringList parameters,
                                                       const std::optional<QString>& cursor,
                                                       CloudFailure& failure)
{
    const QString after = QString::number(parameters.size() + 1);
    const QString limit = QString::number(parameters.size() + 2);
    parameters << cursor.value_or(firstName) << QString::number(m_pageSize);
    const std::optional<QList<QStringList>> rows = run(
        QStringLiteral("SELECT ") + recordColumns + QStringLiteral(" FROM zestra.records WHERE ") +
            condition + QStringLiteral(" AND record_name > $") + after +
            QStringLiteral("::uuid ORDER BY record_name LIMIT $") + limit,
        parameters, failure);
    if (!rows)
        return std::nullopt;
    const std::optional<QList<CloudRecord>> records = readRecords(*rows, {}, failure);
    if (!records)
        return std::nullopt;
    Page result{*records, std::nullopt};
    if (rows->size() == m_pageSize)
        result.cursor = rows->last().value(0);
    return result;
}

std::optional<CloudDatabase::Page>
CloudDatabase::recordsBefore(const QString& recordType, const QString& zone,
                             const QString& dateField, double before,
                             const std::optional<QString>& cursor, CloudFailure& failure)
{
    return page(
        QStringLiteral("zone_name = $1 AND record_type = $2 "
                       "AND CASE WHEN fields->$3->>'type' = 'date' "
                       "THEN (fields->$3->>'value')::float8 END < $4::float8"),
        {zone, recordType, dateField, QString::number(before, 'g', QLocale::FloatingPointShortest)},
        cursor, failure);
}

std::optional<CloudDatabase::Page>
CloudDatabase::recordsReferencing(const QString& recordType, const QString& zone,
                                  const QString& referenceField, const QString& recordName,
                                  const std::optional<QString>& cursor, CloudFailure& failure)
{
    return page(QStringLiteral("zone_name = $1 AND record_type = $2 "
                               "AND fields->$3->>'type' = 'reference' "
                               "AND fields->$3->>'value' = $4"),
                {zone, recordType, referenceField, recordName.toLower()}, cursor, failure);
}

std::optional<QStringList> CloudDatabase::zones(CloudFailure& failure)
{
    const std::optional<QList<QStringList>> rows = run(
        QStringLiteral("SELECT zone_name FROM zestra.zones ORDER BY created_counter"), {}, failure);
    if (!rows)
        return std::nullopt;
    QStringList names;
    for (const QStringList& row : *rows)
        names.append(row.value(0));
    return names;
}

std::optional<qint64> CloudDatabase::clearZones(const QStringList& zones, CloudFailure& failure)
{
    const std::optional<QList<QStringList>> rows =
        run(QStringLiteral("WITH gone AS (DELETE FROM zestra.records WHERE zone_name IN "
                           "(SELECT jsonb_array_elements_text($1::jsonb)) RETURNING 1) "
                           "SELECT count(*) FROM gone"),
            {jsonList(zones)}, failure);
    if (!rows)
        return std::nullopt;
    return rows->value(0).value(0).toLongLong();
}

std::optional<QString> CloudDatabase::channel(CloudFailure& failure)
{
    return accountValue(QStringLiteral("SELECT channel FROM zestra.accounts"), failure);
}
