#include "services/HandoffExchange.h"

#include <QDateTime>

#include "NotificationCenter.h"
#include "cloud/CloudCredentials.h"
#include "cloud/CloudDatabase.h"
#include "services/ConfiguredCloud.h"
#include "services/Handoff.h"
#include "settings/Settings.h"
#include "store/Date.h"
#include "timer/ActivityManager.h"

namespace {

double now()
{
    // The wall clock: another computer compares these moments with its own.
    return Date::fromSecsSince1970(QDateTime::currentMSecsSinceEpoch() / 1000.0)
        .timeIntervalSinceReferenceDate();
}

} // namespace

HandoffExchange::HandoffExchange(ActivityManager& manager, Settings& settings, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
    , m_settings(settings)
    , m_pending(std::make_shared<std::optional<std::pair<QVariantMap, qint64>>>())
    , m_queue(QStringLiteral("org.zestra.Zestra./handoff"))
{
    NotificationCenter::defaultCenter().addObserver(QLatin1String(Handoff::changedNotification),
                                                    this,
                                                    [this](const QVariantMap&) { publish(); });
}

HandoffExchange::~HandoffExchange()
{
    m_stopping = true;
    m_queue.sync([] {});
}

bool HandoffExchange::prepare()
{
    if (m_prepared)
        return true;
    const QString uri = ConfiguredCloud::uri(m_settings);
    if (uri.isEmpty())
        return false;
    // The keyring is asked through an event loop of the main thread, in which this may be
    // called again: the connection is made once, after the answer.
    const std::optional<QString> password = CloudCredentials::password(uri);
    if (m_prepared)
        return true;
    // A hand-off is worth little late: a server out of reach must not hold the quit for long.
    m_database =
        std::make_unique<CloudDatabase>(ConfiguredCloud::withConnectTimeout(uri, 3), password);
    m_handoff = std::make_unique<CloudHandoff>(*m_database);
    m_prepared = true;
    return true;
}

void HandoffExchange::publish()
{
    if (!prepare())
        return;
    {
        const std::lock_guard guard(m_pendingLock);
        const bool queued = m_pending->has_value();
        *m_pending = std::pair(Handoff::userInfo(m_manager),
                               qint64(m_manager.activityPomodoro().remaining()));
        if (queued)
            return;
    }
    m_queue.async([this, pending = m_pending] {
        std::optional<std::pair<QVariantMap, qint64>> latest;
        {
            const std::lock_guard guard(m_pendingLock);
            latest.swap(*pending);
        }
        if (!latest || m_stopping)
            return;
        CloudFailure failure;
        m_handoff->publish(latest->first, latest->second, now(), failure);
    });
}

void HandoffExchange::lookForOffer()
{
    if (!prepare())
        return;
    m_queue.async([this] {
        if (m_stopping)
            return;
        CloudFailure failure;
        std::optional<CloudHandoff::Offer> offer = m_handoff->latestOffer(now(), failure);
        QMetaObject::invokeMethod(this, [this, offer = std::move(offer)] {
            m_offer = offer;
            if (m_offer)
                emit offerFound(m_offer->deviceName,
                                m_offer->userInfo.value(QStringLiteral("task")).toString(),
                                m_offer->remaining);
            else
                emit noOffer();
        });
    });
}

void HandoffExchange::reconnect()
{
    m_queue.sync([this] {
        m_handoff.reset();
        m_database.reset();
    });
    m_prepared = false;
    m_offer.reset();
}

bool HandoffExchange::continueOffer()
{
    if (!m_offer)
        return false;
    const bool restored = Handoff::restore(m_manager, m_offer->userInfo);
    m_offer.reset();
    emit noOffer();
    return restored;
}

void HandoffExchange::waitForWork()
{
    m_queue.sync([] {});
}
