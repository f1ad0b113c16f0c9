#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include <QObject>
#include <QString>

#include "timer/WeakDelegate.h"

#include "store/TaskParameter.h"

class ActivityDelegate;
class DataController;
class DispatchTimer;
class SerialQueue;

// The countdown: a task phase, then a break, ticking once a second on a queue of its own and
// reporting every tick and phase change to its delegate on the main thread. Every finished
// task is stored as a pomodoro.
class Activity {
public:
    enum class State { running, stopped };
    enum class Phase { task, freeTime };

    static constexpr const char* kAppIdentifier = "org.zestra.Zestra";

    explicit Activity(DataController& store);
    ~Activity();
    Activity(const Activity&) = delete;
    Activity& operator=(const Activity&) = delete;

    void start();
    void pause();
    // Resets the phase to its full length and runs it.
    void reset();
    void toggle();
    // During a break: the next tick reports 0 left and the one after ends it.
    void skipFreeTime();
    int breakDuration() const;

    // One second of the countdown; runs on the timer's queue.
    void tick();

    // Where the ticks run; tests use it to wait for a tick to complete.
    SerialQueue& queue() const { return *m_queue; }

    void setDelegate(ActivityDelegate* delegate);
    ActivityDelegate* delegate() const;
    bool onActivity() const { return m_onActivity; }
    int timelapse() const { return m_timelapse; }
    void setTimelapse(int seconds) { m_timelapse = seconds; }
    int totaltime() const { return m_totaltime; }
    int remaining() const { return m_totaltime - m_timelapse; }
    bool lastTaskOnSession() const { return m_lastTaskOnSession; }
    void setLastTaskOnSession(bool value) { m_lastTaskOnSession = value; }
    std::optional<QString> taskName() const;
    void setTaskName(std::optional<QString> name);
    std::optional<State> state() const { return m_state; }
    bool isRunning() const { return m_state == State::running; }
    // Restores a running countdown handed over from elsewhere.
    void setOnActivity(bool value) { m_onActivity = value; }

private:
    void configureTimer();
    // Runs fn on the main thread with the delegate, if there still is one.
    void report(std::function<void(ActivityDelegate&)> fn);
    TaskParameter finishedTask() const;

    DataController& m_store;
    std::unique_ptr<SerialQueue> m_queue;
    std::unique_ptr<DispatchTimer> m_timer;
    std::atomic<bool> m_onActivity{true};
    WeakDelegate<ActivityDelegate> m_delegate;
    std::atomic<int> m_timelapse{0};
    std::atomic<int> m_totaltime{0};
    std::atomic<bool> m_lastTaskOnSession{false};
    mutable std::mutex m_taskNameMutex;
    std::optional<QString> m_taskName;
    std::optional<State> m_state;
    // Whether this activity holds the timer resumed, so that resumes and suspensions stay
    // paired whatever order a phase end on the timer's queue and a pause on the main thread
    // come in. Guarded by m_timerMutex, as are the two flags after it.
    std::mutex m_timerMutex;
    bool m_timerRunning = false;
    // A phase has ended on the timer's queue and the next one has not been started yet.
    bool m_phaseEnding = false;
    // The user paused in that gap: the next phase is set up but left paused.
    bool m_holdNextPhase = false;
    // Counts pauses; a tick's report from before the latest pause is stale.
    std::atomic<quint64> m_pauses{0};
    // Posted reports die with it, so none reaches a destroyed activity.
    std::unique_ptr<QObject> m_mainContext;
};
