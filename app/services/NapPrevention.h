#pragma once

#include <QDBusUnixFileDescriptor>
#include <QObject>

// Keeps the system from sleeping while the countdown runs: a systemd-logind inhibitor lock,
// held until release(). Without logind nothing happens.
class NapPrevention : public QObject {
    Q_OBJECT
public:
    static constexpr const char* reason = "Prevent nap // NSTimer";

    void begin();
    void release();
    bool isHeld() const { return m_lock.isValid(); }

private:
    QDBusUnixFileDescriptor m_lock;
    bool m_released = false;
};
