#include "services/TimerStatePublisher.h"

#include "NotificationCenter.h"
#include "services/Handoff.h"

TimerStatePublisher::TimerStatePublisher(StateSource source, QObject* parent)
    : QObject(parent)
    , m_source(std::move(source))
{
    m_heartbeat.setInterval(heartbeatMilliseconds);
    m_heartbeat.setTimerType(Qt::VeryCoarseTimer);
    connect(&m_heartbeat, &QTimer::timeout, this, &TimerStatePublisher::publish);
    m_heartbeat.start();
    NotificationCenter::defaultCenter().addObserver(QLatin1String(Handoff::changedNotification),
                                                    this,
                                                    [this](const QVariantMap&) { publish(); });
}

void TimerStatePublisher::publish()
{
    m_heartbeat.start();
    emit stateChanged(m_source());
}
