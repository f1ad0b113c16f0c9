#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "cloud/CloudSync.h"

// The store's line to the cloud: the CloudSync in use, and the way back to the main thread
// for the record names that cloud saves report.
class CloudLink {
public:
    explicit CloudLink(std::shared_ptr<CloudSync> cloud);
    ~CloudLink();

    std::shared_ptr<CloudSync> cloud() const;
    void setCloud(std::shared_ptr<CloudSync> cloud);

    // A save completion that hands a reported record name to `assign` on the main thread.
    // Nothing runs once the store is gone.
    CloudSync::SaveCompletion assignOnMainQueue(std::function<void(const QString&)> assign) const;

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<CloudSync> m_cloud;
    // Expires with the store; checked on the main thread before a name is assigned.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
