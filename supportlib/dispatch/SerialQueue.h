#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include <QString>

#include "chimebox_export.h"

// One worker thread running submitted work first in, first out. The thread carries the
// label as its name (the last 15 characters: labels share the application prefix).
class CHIMEBOX_EXPORT SerialQueue {
public:
    explicit SerialQueue(QString label);
    // Runs what is already queued, then stops the worker. Never from the queue's own work.
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    QString label() const { return m_label; }
    void async(std::function<void()> work);
    // Runs work on the queue and waits for it; never call it from the queue itself.
    void sync(const std::function<void()>& work);
    bool isCurrent() const;

private:
    void run();

    const QString m_label;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_work;
    bool m_stopping = false;
    std::thread m_thread;
};
