#include "thieves/ThiefDictionary.h"

namespace {

std::optional<QString> textOf(const QVariantMap& dictionary, const char* key)
{
    const QVariant value = dictionary.value(QLatin1String(key));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<bool> flagOf(const QVariantMap& dictionary, const char* key)
{
    const QVariant value = dictionary.value(QLatin1String(key));
    if (value.typeId() != QMetaType::Bool)
        return std::nullopt;
    return value.toBool();
}

} // namespace

std::optional<Thief> ThiefDictionary::thief(const QVariantMap& dictionary)
{
    const auto name = textOf(dictionary, "name");
    const auto identifier = textOf(dictionary, "identifier");
    const auto kind = textOf(dictionary, "kind");
    const auto isActive = flagOf(dictionary, "isActive");
    const auto preloaded = flagOf(dictionary, "preloaded");
    if (!name || !identifier || !kind || !isActive || !preloaded)
        return std::nullopt;
    Thief thief;
    thief.name = name;
    thief.identifier = identifier;
    thief.kind = kind;
    thief.isActive = *isActive;
    thief.preloaded = *preloaded;
    const QVariant image = dictionary.value(QStringLiteral("image"));
    if (image.typeId() == QMetaType::QByteArray)
        thief.image = image.toByteArray();
    thief.about = textOf(dictionary, "description");
    thief.cloudRecordID = textOf(dictionary, "cloudRecordID");
    return thief;
}

std::optional<QString> ThiefDictionary::identifier(const QVariantMap& dictionary)
{
    return textOf(dictionary, "identifier");
}

QVariantMap ThiefDictionary::make(const QString& name, const QString& identifier,
                                  const QString& kind, bool isActive, bool preloaded)
{
    return QVariantMap{
        {QStringLiteral("name"), name},           {QStringLiteral("identifier"), identifier},
        {QStringLiteral("kind"), kind},           {QStringLiteral("isActive"), isActive},
        {QStringLiteral("preloaded"), preloaded},
    };
}

std::optional<QVariantMap> ThiefDictionary::dictionaryRepresentation(const WorkActivity& activity)
{
    if (!activity.name || !activity.identifier || !activity.kind)
        return std::nullopt;
    return make(*activity.name, *activity.identifier, *activity.kind, true, false);
}
