#include "cloud/SettingsCloudTokenStore.h"

#include <QSettings>

#include "Console.h"

SettingsCloudTokenStore::SettingsCloudTokenStore(QString filePath)
    : m_filePath(std::move(filePath))
{}

std::optional<qint64> SettingsCloudTokenStore::token(const QString& key)
{
    std::lock_guard lock(m_mutex);
    // Read afresh each time: the application writes the same file from its own objects.
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(key);
    bool ok = false;
    const qint64 token = value.toLongLong(&ok);
    if (!value.isValid() || !ok || token < 0)
        return std::nullopt;
    return token;
}

void SettingsCloudTokenStore::setToken(const QString& key, qint64 token)
{
    std::lock_guard lock(m_mutex);
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.setValue(key, token);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        Console::line(QStringLiteral("warn @ setToken -> ") + key +
                      QStringLiteral(" could not be written to ") + m_filePath);
}
