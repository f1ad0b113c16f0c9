#include "timer/WorkSession.h"

#include "settings/Settings.h"
#include "store/DataController.h"
#include "timer/PhaseNotifications.h"
#include "timer/WorkSessionDelegate.h"

WorkSession::WorkSession(int totalTasks, DataController* store)
    : m_store(store)
    , m_totalTasks(totalTasks)
{}

void WorkSession::setDelegate(WorkSessionDelegate* delegate)
{
    m_delegate.set(delegate);
}

WorkSessionDelegate* WorkSession::delegate() const
{
    return m_delegate.get();
}

void WorkSession::setSessionFinish(bool value)
{
    m_sessionFinish = value;
    emit sessionFinishAssigned(value);
}

void WorkSession::reloadTotal()
{
    if (!defaultsKey)
        return;
    m_totalTasks = Settings::shared().validIntValue(*defaultsKey);
    if (auto* d = delegate())
        d->workSessionDidChangeTotal(*this);
    setSessionFinish(m_currentTask >= m_totalTasks);
}

void WorkSession::increment()
{
    ++m_currentTask;
    reloadTotal();
    if (auto* d = delegate())
        d->workSessionDidAdvance(*this, m_currentTask, m_totalTasks);
    setSessionFinish(m_currentTask >= m_totalTasks);
    if (!m_sessionFinish)
        return;
    if (notificationTitle && notificationText)
        PhaseNotifications::workSessionCompleted(*notificationTitle, *notificationText,
                                                 notificationImage.value_or(QByteArray()));
    if (!m_store)
        return;
    if (isGoal.value_or(false))
        m_store->addGoal(m_totalTasks);
    else
        m_store->addSession(m_totalTasks);
}

void WorkSession::refresh()
{
    reloadTotal();
    setSessionFinish(m_currentTask >= m_totalTasks);
    if (auto* d = delegate())
        d->workSessionDidRefresh(*this);
}

void WorkSession::reset()
{
    m_currentTask = 0;
    reloadTotal();
    setSessionFinish(false);
    if (auto* d = delegate())
        d->workSessionDidRefresh(*this);
}

void WorkSession::setTotal(int n)
{
    m_totalTasks = n;
    if (auto* d = delegate())
        d->workSessionDidChangeTotal(*this);
    setSessionFinish(m_currentTask >= n);
}
