#include "timer/PhaseReactions.h"

#include "settings/Settings.h"
#include "timer/ActivityManager.h"

PhaseReactions::PhaseReactions(ActivityManager& manager)
    : m_manager(manager)
{}

void PhaseReactions::taskDidFinish()
{
    m_manager.taskFinished();
    m_manager.activityPomodoro().start();
}

void PhaseReactions::freeTimeDidFinish()
{
    Settings& settings = Settings::shared();
    Activity& activity = m_manager.activityPomodoro();
    if (settings.boolValue(QLatin1String(Settings::BreakSoundAtEnd)))
        m_manager.playSound(QStringLiteral("Task-Sound"));
    activity.start();
    if (!settings.boolValue(QLatin1String(Settings::PomodoroAutoStart)))
        activity.pause();
    if (activity.lastTaskOnSession())
        m_manager.sessionPomodoro().reset();
}
