#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "dispatch/DispatchTimer.h"
#include "dispatch/SerialQueue.h"
#include "tallycore_export.h"
#include "thieves/FrontmostItemReader.h"

class BrowserScriptRunner;
class DataController;
class FrontmostSource;

// Once a second, on its own queue, looks at what is in front and keeps the stretch in
// progress; each change stores the finished stretch as a work activity. The time the scan is
// off is never recorded: stopping ends the stretch in progress.
class TALLYCORE_EXPORT ActivityScanner {
public:
    // `browsers`: the desktop ids to ask for their page.
    ActivityScanner(DataController& store, QStringList browsers,
                    std::unique_ptr<FrontmostSource> source,
                    std::unique_ptr<BrowserScriptRunner> scripts);
    // Stops sampling; the stretch in progress is dropped unless saveBeforeTerminate() or
    // stop() stored it.
    ~ActivityScanner();
    ActivityScanner(const ActivityScanner&) = delete;
    ActivityScanner& operator=(const ActivityScanner&) = delete;

    // The following three are for the main thread.

    // Takes the first sample at once, then one a second. Does nothing when already running.
    // A desktop that cannot be seen is said once, and nothing is recorded.
    void start();
    // Stores the stretch in progress, ending now, and forgets it. Does nothing when stopped.
    void stop();
    // Stores the stretch in progress, ending now, and forgets it, so that a second quit path
    // stores nothing more; sampling goes on.
    void saveBeforeTerminate();

    bool isRunning() const { return m_running; }
    bool canSee() const;
    // Returns once the samples already queued have run.
    void waitForSamples();

private:
    struct Stretch {
        double startTime = 0;
        FrontmostItem item;
        std::optional<QByteArray> image;
    };

    // On the queue.
    void sample();
    void take(const FrontmostItem& item);
    void storeInProgress(double endTime);
    static bool sameItem(const FrontmostItem& a, const FrontmostItem& b);

    DataController& m_store;
    std::unique_ptr<FrontmostSource> m_source;
    std::unique_ptr<BrowserScriptRunner> m_scripts;
    FrontmostItemReader m_reader;
    std::optional<Stretch> m_inProgress;
    QString m_lastError;
    // Read on the queue: a sample queued before stop() finds it false and does nothing.
    std::atomic<bool> m_sampling = false;
    bool m_running = false;
    bool m_saidBlind = false;
    SerialQueue m_queue;
    DispatchTimer m_timer;
};
