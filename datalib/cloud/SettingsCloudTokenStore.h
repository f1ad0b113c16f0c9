#pragma once

#include <mutex>

#include <QString>

#include "cloud/CloudTokenStore.h"
#include "tallycore_export.h"

// The change tokens in an INI settings file (the application's own settings file), each
// written to disk as soon as it is set.
class TALLYCORE_EXPORT SettingsCloudTokenStore final : public CloudTokenStore {
public:
    explicit SettingsCloudTokenStore(QString filePath);

    std::optional<qint64> token(const QString& key) override;
    void setToken(const QString& key, qint64 token) override;

private:
    const QString m_filePath;
    std::mutex m_mutex;
};
