#include "dispatch/SerialQueue.h"

#include <utility>

#include <pthread.h>

#include <QByteArray>

SerialQueue::SerialQueue(QString label)
    : m_label(std::move(label))
    , m_thread([this] { run(); })
{}

SerialQueue::~SerialQueue()
{
    Q_ASSERT_X(!isCurrent(), "SerialQueue", "a queue cannot be destroyed by its own work");
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SerialQueue::async(std::function<void()> work)
{
    if (!work)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void SerialQueue::sync(const std::function<void()>& work)
{
    Q_ASSERT_X(!isCurrent(), "SerialQueue::sync", "called from the queue itself");
    if (isCurrent()) {
        // Waiting here would wait for ourselves forever.
        work();
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneChanged;
    bool done = false;
    async([&] {
        if (work)
            work();
        // Notified under the lock: the waiter cannot return and destroy these first.
        std::lock_guard lock(doneMutex);
        done = true;
        doneChanged.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneChanged.wait(lock, [&done] { return done; });
}

bool SerialQueue::isCurrent() const
{
    return std::this_thread::get_id() == m_thread.get_id();
}

void SerialQueue::run()
{
    // Linux takes at most 15 bytes; the end of the label is the part that tells queues apart.
    const QByteArray name = m_label.right(15).toUtf8().right(15);
    pthread_setname_np(pthread_self(), name.constData());

    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_work.empty(); });
        if (m_work.empty())
            return;
        std::function<void()> work = std::move(m_work.front());
        m_work.pop_front();
        lock.unlock();
        work();
        // Captures are released outside the lock: their destructors may queue more work.
        work = nullptr;
        lock.lock();
    }
}
