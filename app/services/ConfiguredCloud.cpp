#include "services/ConfiguredCloud.h"

#include "cloud/CloudCredentials.h"
#include "cloud/CloudDatabase.h"
#include "settings/Settings.h"

QString ConfiguredCloud::uri(const Settings& settings)
{
    return settings.stringValue(QLatin1String(Settings::CloudDatabaseURI)).value_or(QString());
}

std::unique_ptr<CloudDatabase> ConfiguredCloud::open(const Settings& settings)
{
    const QString stored = uri(settings);
    if (stored.isEmpty())
        return nullptr;
    return std::make_unique<CloudDatabase>(stored, CloudCredentials::password(stored));
}
