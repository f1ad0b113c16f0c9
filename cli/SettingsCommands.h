#pragma once

#include <optional>

#include <QJsonValue>
#include <QString>
#include <QVariant>

#include "CommandArguments.h"
#include "Terminal.h"

class Settings;

// "settings list", "settings get <key>" and "settings set <key> <value>": the application's
// registered settings, in the file the application reads. The store stays closed.
class SettingsCommands {
public:
    explicit SettingsCommands(Settings& settings);

    // Over the application's own defaults, as the command table runs it.
    static ExitStatus runWithApplicationDefaults(const CommandArguments& arguments);
    ExitStatus run(const CommandArguments& arguments);

    // `text` typed as the registered default: true or false (also yes/no, 1/0, in any case)
    // for a flag, a decimal 32-bit integer for a number, anything for a string.
    static std::optional<QVariant> value(const QVariant& registeredDefault, const QString& text,
                                         QString& error);

private:
    ExitStatus list();
    ExitStatus get(const QString& key);
    ExitStatus set(const QString& key, const QString& text);
    // Says so on standard error when the key is not one of the application's.
    std::optional<QVariant> registeredDefault(const QString& key) const;
    QJsonValue effectiveValue(const QString& key, const QVariant& registeredDefault) const;

    Settings& m_settings;
};
