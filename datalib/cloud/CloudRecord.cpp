#include "cloud/CloudRecord.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString typeKey = QStringLiteral("type");
const QString valueKey = QStringLiteral("value");
const QString zoneKey = QStringLiteral("zone");

QString typeName(CloudField::Type type)
{
    switch (type) {
    case CloudField::Type::String:
        return QStringLiteral("string");
    case CloudField::Type::Int64:
        return QStringLiteral("int64");
    case CloudField::Type::Double:
        return QStringLiteral("double");
    case CloudField::Type::Date:
        return QStringLiteral("date");
    case CloudField::Type::Reference:
        return QStringLiteral("reference");
    case CloudField::Type::Asset:
        return QStringLiteral("asset");
    }
    return QString();
}

QJsonObject toJson(const CloudField& field)
{
    QJsonObject object{{typeKey, typeName(field.type)}};
    switch (field.type) {
    case CloudField::Type::String:
        object.insert(valueKey, field.text);
        break;
    case CloudField::Type::Int64:
        object.insert(valueKey, qint64(field.integer));
        break;
    case CloudField::Type::Double:
    case CloudField::Type::Date:
        object.insert(valueKey, field.number);
        break;
    case CloudField::Type::Reference:
        object.insert(valueKey, field.text);
        object.insert(zoneKey, field.zone);
        object.insert(QStringLiteral("action"), QStringLiteral("none"));
        break;
    case CloudField::Type::Asset:
        break;
    }
    return object;
}

std::optional<CloudField> fromJson(const QJsonValue& json, const QByteArray* assetBytes)
{
    const QJsonObject object = json.toObject();
    const QString type = object.value(typeKey).toString();
    const QJsonValue value = object.value(valueKey);
    if (type == QLatin1String("string") && value.isString())
        return CloudField::string(value.toString());
    if (type == QLatin1String("int64") && value.isDouble())
        return CloudField::int64(value.toInteger());
    if (type == QLatin1String("double") && value.isDouble())
        return CloudField::real(value.toDouble());
    if (type == QLatin1String("date") && value.isDouble())
        return CloudField::date(value.toDouble());
    if (type == QLatin1String("reference") && value.isString())
        return CloudField::reference(value.toString(), object.value(zoneKey).toString());
    // An asset whose bytes were not asked for is left out.
    if (type == QLatin1String("asset") && assetBytes)
        return CloudField::asset(*assetBytes);
    return std::nullopt;
}

} // namespace

CloudRecord::CloudRecord(QString recordType, QString zoneName)
    : m_recordType(std::move(recordType))
    , m_zoneName(std::move(zoneName))
{}

void CloudRecord::set(const QString& key, const CloudField& value)
{
    m_fields.insert(key, value);
    m_removedKeys.removeAll(key);
}

void CloudRecord::remove(const QString& key)
{
    m_fields.remove(key);
    if (!m_removedKeys.contains(key))
        m_removedKeys.append(key);
}

const CloudField* CloudRecord::find(const QString& key, CloudField::Type type) const
{
    const auto found = m_fields.constFind(key);
    return found != m_fields.cend() && found->type == type ? &*found : nullptr;
}

std::optional<QString> CloudRecord::string(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::String);
    return field ? std::optional(field->text) : std::nullopt;
}

std::optional<std::int64_t> CloudRecord::int64(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::Int64);
    return field ? std::optional(field->integer) : std::nullopt;
}

std::optional<double> CloudRecord::date(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::Date);
    return field ? std::optional(field->number) : std::nullopt;
}

std::optional<double> CloudRecord::real(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::Double);
    return field ? std::optional(field->number) : std::nullopt;
}

std::optional<QString> CloudRecord::reference(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::Reference);
    return field ? std::optional(field->text) : std::nullopt;
}

std::optional<QByteArray> CloudRecord::asset(const QString& key) const
{
    const CloudField* field = find(key, CloudField::Type::Asset);
    return field ? std::optional(field->bytes) : std::nullopt;
}

QJsonObject CloudRecord::fieldsObject() const
{
    QJsonObject object;
    for (auto field = m_fields.cbegin(); field != m_fields.cend(); ++field)
        object.insert(field.key(), toJson(field.value()));
    return object;
}

QByteArray CloudRecord::fieldsJson() const
{
    return QJsonDocument(fieldsObject()).toJson(QJsonDocument::Compact);
}

std::optional<CloudRecord> CloudRecord::fromStored(const QString& recordType,
                                                   const QString& zoneName,
                                                   const QString& recordName,
                                                   const QString& changeTag, const QByteArray& json,
                                                   const QMap<QString, QByteArray>& assets)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    CloudRecord record(recordType, zoneName);
    record.m_recordName = recordName;
    record.m_changeTag = changeTag;
    const QJsonObject object = document.object();
    for (auto field = object.constBegin(); field != object.constEnd(); ++field) {
        const auto bytes = assets.constFind(field.key());
        const std::optional<CloudField> value =
            fromJson(field.value(), bytes == assets.cend() ? nullptr : &*bytes);
        if (value)
            record.m_fields.insert(field.key(), *value);
    }
    return record;
}
