#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include <QObject>
#include <QVariantMap>

#include "cloud/CloudHandoff.h"
#include "dispatch/SerialQueue.h"

class ActivityManager;
class CloudDatabase;
class Settings;

// The running countdown shared with the user's other computers through the cloud: published
// whenever it changes in more than its elapsed time, and looked for when the popover opens.
// The cloud is asked on a queue of its own, never on the interface thread.
class HandoffExchange : public QObject {
    Q_OBJECT
public:
    HandoffExchange(ActivityManager& manager, Settings& settings, QObject* parent = nullptr);
    ~HandoffExchange() override;

    // Sends the countdown as it stands (the newest one only, when several wait).
    void publish();
    // Asks for another computer's countdown; offerFound() or noOffer() follows.
    void lookForOffer();
    // Another cloud database was connected: the next publish or look uses it.
    void reconnect();
    // Continues the offer last found; false when there is none or it is incomplete.
    bool continueOffer();
    const std::optional<CloudHandoff::Offer>& offer() const { return m_offer; }

    // Waits for the work queued so far (tests).
    void waitForWork();

signals:
    void offerFound(const QString& deviceName, const QString& task, qint64 remaining);
    void noOffer();

private:
    // Makes the queue's cloud connection on first use; false without a cloud database.
    bool prepare();

    ActivityManager& m_manager;
    Settings& m_settings;
    std::optional<CloudHandoff::Offer> m_offer;
    std::unique_ptr<CloudDatabase> m_database;
    std::unique_ptr<CloudHandoff> m_handoff;
    bool m_prepared = false;
    // The countdown waiting to be sent; the queue takes the newest.
    std::mutex m_pendingLock;
    std::shared_ptr<std::optional<std::pair<QVariantMap, qint64>>> m_pending;
    std::atomic<bool> m_stopping = false;
    SerialQueue m_queue;
};
