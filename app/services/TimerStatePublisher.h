#pragma once

#include <functional>

#include <QObject>
#include <QTimer>
#include <QVariantMap>

// Tells other programs what the countdown is doing: a new state whenever the phase, the
// pause, the task or the counters change (the hand-off record does), and once a minute
// otherwise, so a status bar can follow without polling and count down by itself.
class TimerStatePublisher : public QObject {
    Q_OBJECT
public:
    using StateSource = std::function<QVariantMap()>;

    static constexpr int heartbeatMilliseconds = 60 * 1000;

    explicit TimerStatePublisher(StateSource source, QObject* parent = nullptr);

    // Publishes at once and starts the heartbeat over.
    void publish();

signals:
    void stateChanged(const QVariantMap& state);

private:
    StateSource m_source;
    QTimer m_heartbeat;
};
