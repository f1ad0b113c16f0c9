#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

class NotificationsObject;

// The "image-data" hint as it arrived.
struct ReceivedImage {
    QString signature;
    int width = 0;
    int height = 0;
    int rowstride = 0;
    bool hasAlpha = false;
    int bitsPerSample = 0;
    int channels = 0;
    QByteArray data;
};

// The arguments of one Notify call.
struct ReceivedNotification {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    // Every hint but "image-data", which is decoded into `image`.
    QVariantMap hints;
    std::optional<ReceivedImage> image;
    int expireTimeout = 0;
};

// An org.freedesktop.Notifications server on its own thread and bus connection, so a client
// on the test's thread can call it without deadlocking.
class FakeNotificationServer {
public:
    explicit FakeNotificationServer(const QString& busAddress);
    ~FakeNotificationServer();

    // Connected to the bus, and the service name and object are ours.
    bool isRegistered() const;
    QList<ReceivedNotification> received() const;
    // Runs the calling thread's events until `count` notifications have arrived.
    bool waitForNotifications(qsizetype count);

    // While held, each Notify call is recorded and then left unanswered until release().
    void holdReplies();
    void release();

    struct State {
        mutable std::mutex mutex;
        QList<ReceivedNotification> received;
        bool holdReplies = false;
        int held = 0;
        QSemaphore released;
    };

private:
    std::shared_ptr<State> m_state;
    QString m_connectionName;
    bool m_registered = false;
    QThread m_thread;
    std::unique_ptr<NotificationsObject> m_object;
};
