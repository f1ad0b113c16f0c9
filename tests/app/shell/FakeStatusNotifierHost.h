#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariant>

struct FakeHostState {
    std::mutex mutex;
    QStringList registered;
    QStringList labels;
    int toolTipChanges = 0;
    std::optional<QDBusMessage> reply;
};

// The watcher and the host in one: it takes registrations, hears label changes and, from
// its own thread, calls the item as a panel would.
class FakeWatcherObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
public:
    explicit FakeWatcherObject(std::shared_ptr<FakeHostState> state)
        : m_state(std::move(state))
    {}

public slots:
    void RegisterStatusNotifierItem(const QString& service);
    void labelChanged(const QString& label, const QString& guide);
    void toolTipChanged();

private:
    std::shared_ptr<FakeHostState> m_state;
};

// A panel's StatusNotifierWatcher on a connection and thread of its own: it appears on the
// bus when made and leaves it when destroyed.
class FakeStatusNotifierHost {
public:
    explicit FakeStatusNotifierHost(const QString& address);
    ~FakeStatusNotifierHost();

    bool isReady() const { return m_ready; }
    QStringList registered() const;
    QStringList labels() const;
    int toolTipChanges() const;
    // Label and tooltip signals of the item, from now on.
    bool watchLabels(const QString& service);
    // Calls from the host's thread while this thread keeps serving the item.
    QDBusMessage call(const QDBusMessage& message);
    QVariant property(const QString& service, const QString& path, const QString& interface,
                      const QString& name);

private:
    static inline const QString kConnection = QStringLiteral("fake-status-notifier-host");

    std::shared_ptr<FakeHostState> m_state = std::make_shared<FakeHostState>();
    QThread m_thread;
    std::unique_ptr<FakeWatcherObject> m_object;
    bool m_ready = false;
};
