#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QObject>

#include "dispatch/SerialQueue.h"

class CloudDataController;
class CloudDatabase;
class DataController;
class Settings;

// The application's side of the cloud: the sync engine for the database the user connected,
// installed as the store's cloud, and the start-up sequence: the account check, the one-time
// upload of the local history (until it has all gone up), the replay of the writes that
// waited for the network, the subscription to the server's pushes, the purge of old work
// activities and a change fetch. Without a connected database it does nothing.
class CloudSession : public QObject {
    Q_OBJECT
public:
    CloudSession(DataController& store, Settings& settings, QObject* parent = nullptr);
    ~CloudSession() override;

    bool isConfigured() const;
    // (Re)makes the engine for the database now in the settings, and runs the start-up.
    void start();
    // Replays what waits and fetches the changes now.
    void syncNow();
    // Answers (on any thread) whether the connected database holds an account for the user;
    // true when no database is connected, since there is then nothing to warn about.
    void checkAccount(std::function<void(bool available)> answer);
    CloudDataController* engine() const { return m_engine.get(); }

    // Waits for the start-up and the engine's work started so far (tests, zestra-cli).
    void waitForWork();

signals:
    // The account check of a start-up, on the main thread.
    void accountChecked(bool available);

private:
    void stop();
    // On the session's queue.
    void runStartup(CloudDatabase& database);

    DataController& m_store;
    Settings& m_settings;
    std::shared_ptr<CloudDataController> m_engine;
    std::atomic<bool> m_stopping = false;
    SerialQueue m_queue;
};
