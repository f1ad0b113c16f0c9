#include "ui/InternetMonitor.h"

#include "Reachability.h"

namespace {

class ReachabilityMonitor : public InternetMonitor {
public:
    bool startNotifier(QString* error) override
    {
        m_reachability = Reachability::forInternet();
        if (!m_reachability) {
            if (error)
                *error = QStringLiteral("no network monitor on this system");
            return false;
        }
        m_reachability->whenReachable = [this](Reachability&) {
            if (whenReachable)
                whenReachable();
        };
        m_reachability->whenUnreachable = [this](Reachability&) {
            if (whenUnreachable)
                whenUnreachable();
        };
        QString reason;
        if (m_reachability->startNotifier(&reason))
            return true;
        if (error)
            *error =
                reason.isEmpty() ? QStringLiteral("the network monitor did not start") : reason;
        return false;
    }

    ~ReachabilityMonitor() override
    {
        if (m_reachability)
            m_reachability->stopNotifier();
    }

private:
    std::unique_ptr<Reachability> m_reachability;
};

} // namespace

std::unique_ptr<InternetMonitor> InternetMonitor::forInternet()
{
    return std::make_unique<ReachabilityMonitor>();
}
