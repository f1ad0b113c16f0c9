#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>

#include "cloud/CloudOperation.h"
#include "dispatch/SerialQueue.h"
#include "tallycore_export.h"

class CloudOperationPerformer;

// The cloud writes waiting for the network, kept in a JSON file of the data folder so they
// survive a restart. The list and its file change only on the cache's own queue; an operation
// leaves the list when it has been done again, or refused for good, never before.
class TALLYCORE_EXPORT CloudOperationCache {
public:
    using Progress = std::function<void(int index, int count)>;

    // The cache of the shared store's data folder, created on first use.
    static CloudOperationCache& shared();
    static QString defaultFilePath();

    // An empty path keeps the list in memory only.
    explicit CloudOperationCache(QString filePath);
    ~CloudOperationCache();
    CloudOperationCache(const CloudOperationCache&) = delete;
    CloudOperationCache& operator=(const CloudOperationCache&) = delete;

    bool isPending();
    QList<CloudOperation> operations();
    void append(CloudOperation operation);

    // Tries every queued operation again, one after another, in the order they were queued.
    // `recordHandler(i, count)` follows each one handed over and answered; a network failure
    // ends the replay and keeps that operation and the ones after it. `operationHandler(done,
    // count)` comes last, with the number of operations answered. An unsupported pair of
    // record and operation is said once and dropped.
    void processPendingOperations(CloudOperationPerformer& performer, Progress recordHandler = {},
                                  Progress operationHandler = {});

    // Waits for the writes and replays queued so far.
    void waitForWork();

private:
    struct Entry {
        quint64 serial = 0;
        CloudOperation operation;
    };

    void load();
    void save();
    void replay(CloudOperationPerformer& performer, const Progress& recordHandler,
                const Progress& operationHandler);
    void removeEntry(quint64 serial);

    const QString m_filePath;
    SerialQueue m_queue;
    QList<Entry> m_entries;
    quint64 m_nextSerial = 1;
};
