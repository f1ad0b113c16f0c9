#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QString>

#include "cloud/CloudChangeApplier.h"
#include "cloud/CloudOperationPerformer.h"
#include "cloud/CloudRecord.h"
#include "cloud/CloudRecordWriter.h"
#include "cloud/CloudSync.h"
#include "dispatch/SerialQueue.h"
#include "tallycore_export.h"

class CloudChangeFetcher;
class CloudOperationCache;
class CloudOperationReplayer;
class CloudPushListener;
class CloudTokenStore;
class DataController;
struct CloudFailure;

// Keeps the local store and the user's private cloud database in step. Outgoing, it is the
// store's CloudSync: every write runs on the engine's write queue, and one that cannot reach
// the cloud is queued in the operation cache for a replay. Incoming, fetchChanges() applies
// what changed elsewhere, one fetch at a time, on its fetch queue; a push that arrives
// during a fetch brings exactly one more.
//
// Create it with std::make_shared, install it with store.setCloudSync(), and call
// store.setCloudSync(nullptr) before the store goes; the store and the cache must outlive it.
class TALLYCORE_EXPORT CloudDataController final : public CloudSync,
                                                   public CloudOperationPerformer {
public:
    using Handler = std::function<void(bool)>;

    // Replacements for the parts that talk to the store and the server, for tests that
    // inject faults; each one left empty is the real one.
    struct Parts {
        std::unique_ptr<CloudChangeApplier> applier;
        std::unique_ptr<CloudRecordWriter> writer;
    };

    CloudDataController(QString uri, std::optional<QString> password, DataController& store,
                        CloudOperationCache& cache, std::shared_ptr<CloudTokenStore> tokens,
                        Parts parts = {});
    ~CloudDataController() override;
    CloudDataController(const CloudDataController&) = delete;
    CloudDataController& operator=(const CloudDataController&) = delete;

    // handler(true) when the server holds an account for the user, false for none; not
    // called when the server cannot say (printed).
    void iCloudConnectionOnline(Handler handler);
    // Listens for the server's pushes; each one fetches the changes. handler(false) when
    // the account's channel could not be read.
    void subscribeToCloudEvents(Handler handler = {});
    bool isSubscribed();
    // Whether the subscription hears the server now (it reconnects when it does not).
    bool isListening();
    void fetchChanges();
    // Hands every queued operation back to this engine.
    void processPendingOperations();
    // Waits for the writes and fetches started so far.
    void waitForWork();

    // CloudSync
    void saveTask(const TaskParameter& task, const std::optional<QString>& taskInfoRecordID,
                  SaveCompletion completion) override;
    void renameTaskReferenced(const QString& recordID, const QString& taskInfoRecordID,
                              EditCompletion completion = {}) override;
    void deleteTask(const QString& recordID, DeleteCompletion completion = {}) override;
    void saveTaskInfo(const TaskInfoParameter& taskInfo, SaveCompletion completion) override;
    void renameTaskWithNewName(const QString& recordID, const QString& newName,
                               EditCompletion completion = {}) override;
    void updateTask(const QString& recordID, const TaskInfoParameter& parameter,
                    EditCompletion completion = {}) override;
    void deleteTaskInfo(const QString& recordID, DeleteCompletion completion = {}) override;
    void saveSession(double finishedAt, int tasksCount, SaveCompletion completion) override;
    void saveGoal(double achieveAt, int tasksCount, SaveCompletion completion) override;
    void saveThief(const Thief& thief, SaveCompletion completion) override;
    void switchThief(const QString& recordID, bool isActive,
                     EditCompletion completion = {}) override;
    void saveWorkActivity(const WorkActivity& activity, SaveCompletion completion) override;
    void deleteWorkActivity(const QString& recordID, DeleteCompletion completion = {}) override;

    // CloudOperationPerformer
    void perform(const CloudOperation& operation,
                 std::function<void(Outcome outcome)> completion) override;

private:
    // Guards the delayed calls of a clock that may still fire after the engine is gone.
    struct Lifetime {
        std::mutex mutex;
        bool alive = true;
    };

    void save(CloudRecord record, CloudOperation queued, SaveCompletion completion);
    // An edit or delete: done as its replay would do it, queued when the network fails.
    void change(CloudOperation operation, std::function<void(bool failed, bool pending)> done,
                const QString& doneLine = {});
    void keep(const CloudOperation& operation, const CloudFailure& failure);
    void scheduleReplay(int seconds);
    void callLater(double seconds, std::function<void()> fn);

    const QString m_uri;
    const std::optional<QString> m_password;
    CloudOperationCache& m_cache;
    std::unique_ptr<CloudRecordWriter> m_writer;
    std::unique_ptr<CloudOperationReplayer> m_replayer;
    std::unique_ptr<CloudChangeFetcher> m_fetcher;
    std::shared_ptr<Lifetime> m_lifetime = std::make_shared<Lifetime>();
    std::mutex m_mutex;
    bool m_fetching = false;
    bool m_fetchAgain = false;
    bool m_replayScheduled = false;
    std::unique_ptr<CloudPushListener> m_listener;
    // Last, so that they finish their work before anything it uses goes.
    SerialQueue m_writeQueue;
    SerialQueue m_fetchQueue;
};
