#include "services/ConfiguredCloud.h"

#include <QUrl>
#include <QUrlQuery>

#include "cloud/CloudCredentials.h"
#include "cloud/CloudDataController.h"
#include "cloud/CloudDatabase.h"
#include "cloud/CloudOperationCache.h"
#include "cloud/SettingsCloudTokenStore.h"
#include "settings/Settings.h"

QString ConfiguredCloud::uri(const Settings& settings)
{
    return settings.stringValue(QLatin1String(Settings::CloudDatabaseURI)).value_or(QString());
}

QString ConfiguredCloud::withConnectTimeout(const QString& uri, int seconds)
{
    QUrl url(uri);
    QUrlQuery query(url);
    if (!query.hasQueryItem(QStringLiteral("connect_timeout")))
        query.addQueryItem(QStringLiteral("connect_timeout"), QString::number(seconds));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

std::unique_ptr<CloudDatabase> ConfiguredCloud::open(const Settings& settings)
{
    const QString stored = uri(settings);
    if (stored.isEmpty())
        return nullptr;
    return std::make_unique<CloudDatabase>(stored, CloudCredentials::password(stored));
}

std::shared_ptr<CloudDataController> ConfiguredCloud::engine(const QString& uri,
                                                             const std::optional<QString>& password,
                                                             DataController& store,
                                                             const Settings& settings)
{
    return std::make_shared<CloudDataController>(
        uri, password, store, CloudOperationCache::shared(),
        std::make_shared<SettingsCloudTokenStore>(settings.filePath()));
}
