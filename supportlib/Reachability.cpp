// Being written: the rtnetlink monitor.
#include "Reachability.h"

std::unique_ptr<Reachability> Reachability::forInternet()
{
    return nullptr;
}

Reachability::~Reachability() = default;

bool Reachability::startNotifier(QString*)
{
    return false;
}

void Reachability::stopNotifier() {}

bool Reachability::isReachable() const
{
    return false;
}

bool Reachability::isReachableViaWiFi() const
{
    return false;
}

bool Reachability::isReachableViaWWAN() const
{
    return false;
}

Reachability::NetworkStatus Reachability::currentReachabilityStatus() const
{
    return NetworkStatus::notReachable;
}

QString Reachability::currentReachabilityString() const
{
    return QString();
}

QString Reachability::description() const
{
    return QString();
}
