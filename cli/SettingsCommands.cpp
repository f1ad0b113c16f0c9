#include "SettingsCommands.h"

#include <limits>

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include "settings/Settings.h"

namespace {

// QJsonDocument holds only objects and arrays; a one-element array gives a scalar its JSON
// spelling (quotes and escapes included).
QString scalarJson(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

std::optional<bool> flag(const QString& text)
{
    for (const char* yes : {"true", "yes", "1"}) {
        if (text.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const char* no : {"false", "no", "0"}) {
        if (text.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
            return false;
    }
    return std::nullopt;
}

std::optional<int> number(const QString& text)
{
    // Only ASCII digits: toLongLong alone would also take spaces and a plus sign.
    static const QRegularExpression digits(QStringLiteral("^-?[0-9]{1,19}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

SettingsCommands::SettingsCommands(Settings& settings)
    : m_settings(settings)
{}

ExitStatus SettingsCommands::runWithApplicationDefaults(const CommandArguments& arguments)
{
    Settings settings;
    settings.registerApplicationDefaults();
    return SettingsCommands(settings).run(arguments);
}

ExitStatus SettingsCommands::run(const CommandArguments& arguments)
{
    const QStringList& words = arguments.positionals();
    const QString& action = words.first();
    const auto needs = [&](qsizetype count, const char* shape) {
        if (words.size() == count)
            return true;
        Terminal::printError(QStringLiteral("settings %1: wrong number of arguments").arg(action));
        Terminal::printDiagnostic(
            QStringLiteral("usage: zestra-cli settings %1").arg(QLatin1String(shape)));
        return false;
    };
    if (action == QLatin1String("list"))
        return needs(1, "list") ? list() : ExitStatus::UsageError;
    if (action == QLatin1String("get"))
        return needs(2, "get <key>") ? get(words.at(1)) : ExitStatus::UsageError;
    if (action == QLatin1String("set"))
        return needs(3, "set <key> <value>") ? set(words.at(1), words.at(2))
                                             : ExitStatus::UsageError;
    Terminal::printError(
        QStringLiteral("settings: unknown action \"%1\" (list, get or set)").arg(action));
    return ExitStatus::UsageError;
}

std::optional<QVariant> SettingsCommands::value(const QVariant& registeredDefault,
                                                const QString& text, QString& error)
{
    switch (registeredDefault.typeId()) {
    case QMetaType::Bool:
        if (const std::optional<bool> parsed = flag(text))
            return QVariant(*parsed);
        error = QStringLiteral("\"%1\" is not true or false").arg(text);
        return std::nullopt;
    case QMetaType::Int:
        if (const std::optional<int> parsed = number(text))
            return QVariant(*parsed);
        error = QStringLiteral("\"%1\" is not a whole number from %2 to %3")
                    .arg(text)
                    .arg(std::numeric_limits<int>::min())
                    .arg(std::numeric_limits<int>::max());
        return std::nullopt;
    default:
        return QVariant(text);
    }
}

ExitStatus SettingsCommands::list()
{
    QJsonObject values;
    for (const QString& key : m_settings.registeredKeys())
        values.insert(key, effectiveValue(key, *m_settings.registeredDefault(key)));
    Terminal::printJson(QJsonDocument(values));
    return ExitStatus::Success;
}

ExitStatus SettingsCommands::get(const QString& key)
{
    const std::optional<QVariant> fallback = registeredDefault(key);
    if (!fallback)
        return ExitStatus::UsageError;
    Terminal::printText(scalarJson(effectiveValue(key, *fallback)) + QLatin1Char('\n'));
    return ExitStatus::Success;
}

ExitStatus SettingsCommands::set(const QString& key, const QString& text)
{
    const std::optional<QVariant> fallback = registeredDefault(key);
    if (!fallback)
        return ExitStatus::UsageError;
    QString error;
    const std::optional<QVariant> parsed = value(*fallback, text, error);
    if (!parsed) {
        Terminal::printError(QStringLiteral("settings set %1: %2").arg(key, error));
        return ExitStatus::UsageError;
    }
    // Only what the settings window offers: the timer takes anything else as the default.
    const std::optional<Settings::Range> range = Settings::allowedRange(key);
    if (range && parsed->typeId() == QMetaType::Int && !range->contains(parsed->toInt())) {
        Terminal::printError(QStringLiteral("settings set %1: %2 is outside %3 to %4, what the "
                                            "settings window offers")
                                 .arg(key, text)
                                 .arg(range->minimum)
                                 .arg(range->maximum));
        return ExitStatus::UsageError;
    }
    bool written = false;
    switch (parsed->typeId()) {
    case QMetaType::Bool:
        written = m_settings.setBool(key, parsed->toBool());
        break;
    case QMetaType::Int:
        written = m_settings.setInt(key, parsed->toInt());
        break;
    default:
        written = m_settings.setString(key, parsed->toString());
    }
    if (!written) {
        Terminal::printError(QStringLiteral("could not write %1").arg(m_settings.filePath()));
        return ExitStatus::Failure;
    }
    return ExitStatus::Success;
}

std::optional<QVariant> SettingsCommands::registeredDefault(const QString& key) const
{
    std::optional<QVariant> fallback = m_settings.registeredDefault(key);
    if (!fallback)
        Terminal::printError(
            QStringLiteral("settings: unknown key \"%1\"; see zestra-cli settings list").arg(key));
    return fallback;
}

QJsonValue SettingsCommands::effectiveValue(const QString& key,
                                            const QVariant& registeredDefault) const
{
    switch (registeredDefault.typeId()) {
    case QMetaType::Bool:
        return m_settings.boolValue(key);
    case QMetaType::Int:
        return m_settings.intValue(key);
    default:
        if (const std::optional<QString> text = m_settings.stringValue(key))
            return *text;
        return QJsonValue(QJsonValue::Null);
    }
}
