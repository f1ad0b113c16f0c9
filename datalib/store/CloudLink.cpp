#include "store/CloudLink.h"

#include "cloud/UnconfiguredCloudSync.h"
#include "dispatch/MainQueue.h"

CloudLink::CloudLink(std::shared_ptr<CloudSync> cloud)
    : m_cloud(cloud ? std::move(cloud) : std::make_shared<UnconfiguredCloudSync>())
{}

CloudLink::~CloudLink() = default;

std::shared_ptr<CloudSync> CloudLink::cloud() const
{
    std::lock_guard lock(m_mutex);
    return m_cloud;
}

void CloudLink::setCloud(std::shared_ptr<CloudSync> cloud)
{
    std::lock_guard lock(m_mutex);
    m_cloud = cloud ? std::move(cloud) : std::make_shared<UnconfiguredCloudSync>();
}

CloudSync::SaveCompletion
CloudLink::assignOnMainQueue(std::function<void(const QString&)> assign) const
{
    std::weak_ptr<int> alive = m_alive;
    return [alive, assign = std::move(assign)](std::optional<QString> recordName, bool, bool) {
        if (!recordName)
            return;
        MainQueue::post([alive, assign, name = *recordName] {
            if (!alive.expired())
                assign(name);
        });
    };
}
