#include "timer/Activity.h"

#include "dispatch/Clock.h"
#include "dispatch/DispatchTimer.h"
#include "dispatch/MainQueue.h"
#include "dispatch/SerialQueue.h"
#include "settings/Settings.h"
#include "store/DataController.h"
#include "timer/ActivityDelegate.h"
#include "timer/PhaseNotifications.h"

namespace {

int minutesSetting(const char* key)
{
    // A length stored out of the pane's range (an edited file) is taken as the default.
    return Settings::shared().validIntValue(QLatin1String(key)) * 60;
}

int taskLength()
{
    return minutesSetting(Settings::PomodoroTaskTime);
}

} // namespace

Activity::Activity(DataController& store)
    : m_store(store)
    , m_mainContext(std::make_unique<QObject>())
{
    m_totaltime = taskLength();
    configureTimer();
}

Activity::~Activity()
{
    if (m_timer && !m_timer->isCancelled())
        m_timer->cancel();
    m_timer.reset();
    m_queue.reset();
}

void Activity::configureTimer()
{
    m_queue =
        std::make_unique<SerialQueue>(QLatin1String(kAppIdentifier) + QStringLiteral("./Timer"));
    m_timer = std::make_unique<DispatchTimer>(*m_queue, [this] { tick(); });
    m_timer->schedule(Clock::current(), 1.0, 0.001);
}

void Activity::setDelegate(ActivityDelegate* delegate)
{
    m_delegate.set(delegate);
}

ActivityDelegate* Activity::delegate() const
{
    return m_delegate.get();
}

void Activity::report(std::function<void(ActivityDelegate&)> fn)
{
    MainQueue::post(m_mainContext.get(), [this, fn = std::move(fn)] {
        if (auto* d = delegate())
            fn(*d);
    });
}

std::optional<QString> Activity::taskName() const
{
    std::lock_guard lock(m_taskNameMutex);
    return m_taskName;
}

void Activity::setTaskName(std::optional<QString> name)
{
    std::lock_guard lock(m_taskNameMutex);
    m_taskName = std::move(name);
}

int Activity::breakDuration() const
{
    return minutesSetting(m_lastTaskOnSession ? Settings::PomodoroBigBreakTime
                                              : Settings::PomodoroLittleBreakTime);
}

void Activity::start()
{
    if (m_onActivity) {
        m_totaltime = taskLength();
        if (auto* d = delegate())
            d->activityDidStartTask(*this);
    } else {
        m_totaltime = breakDuration();
        if (auto* d = delegate())
            d->activityDidStartFreeTime(*this);
    }
    bool held = false;
    {
        std::lock_guard lock(m_timerMutex);
        held = m_phaseEnding && m_holdNextPhase;
        m_phaseEnding = false;
        m_holdNextPhase = false;
        if (!held && !m_timerRunning) {
            m_timer->resume();
            m_timerRunning = true;
        }
    }
    if (held) {
        // The pause came after the phase had ended: it holds for the phase that follows.
        ++m_pauses;
        m_state = State::stopped;
        if (auto* d = delegate())
            d->activityDidPause(*this);
        return;
    }
    m_state = State::running;
}

void Activity::pause()
{
    {
        std::lock_guard lock(m_timerMutex);
        if (m_timerRunning) {
            m_timer->suspend();
            m_timerRunning = false;
        } else if (m_phaseEnding) {
            m_holdNextPhase = true;
        }
    }
    ++m_pauses;
    m_state = State::stopped;
    if (auto* d = delegate())
        d->activityDidPause(*this);
}

void Activity::reset()
{
    if (m_state == State::running)
        pause();
    m_timelapse = 0;
    start();
}

void Activity::toggle()
{
    if (m_state == State::running)
        pause();
    else
        start();
}

void Activity::skipFreeTime()
{
    if (!m_onActivity)
        m_timelapse = breakDuration() - 1;
}

TaskParameter Activity::finishedTask() const
{
    TaskParameter p;
    const double endTime = Clock::current();
    p.duration = taskLength();
    p.endTime = endTime;
    p.freeTimeDuration = breakDuration();
    // The configured length, read again: the record spans the length, not the time measured.
    p.startTime = endTime - taskLength();
    p.taskName = taskName();
    return p;
}

void Activity::tick()
{
    if (m_timelapse < m_totaltime) {
        ++m_timelapse;
        const quint64 pauses = m_pauses;
        report([this, pauses](ActivityDelegate& d) {
            // A tick that ran just before a pause arrives after it: the paused display stays.
            if (pauses != m_pauses || m_state != State::running)
                return;
            const int remaining = m_totaltime - m_timelapse;
            if (m_onActivity)
                d.activityDidUpdateTask(*this, remaining);
            else
                d.activityDidUpdateFreeTime(*this, remaining);
        });
        return;
    }

    {
        std::lock_guard lock(m_timerMutex);
        if (m_timerRunning) {
            m_timer->suspend();
            m_timerRunning = false;
        } else {
            // Paused while this tick was already running.
            m_holdNextPhase = true;
        }
        m_phaseEnding = true;
    }
    m_timelapse = 0;
    const Phase ended = m_onActivity ? Phase::task : Phase::freeTime;
    MainQueue::post(m_mainContext.get(), [ended] { PhaseNotifications::phaseEnded(ended); });
    if (ended == Phase::task) {
        m_onActivity = false;
        report([this](ActivityDelegate& d) { d.activityDidFinishTask(*this); });
        const TaskParameter finished = finishedTask();
        MainQueue::post(m_mainContext.get(), [this, finished] { m_store.addTask(finished); });
    } else {
        m_onActivity = true;
        report([this](ActivityDelegate& d) { d.activityDidFinishFreeTime(*this); });
    }
}
